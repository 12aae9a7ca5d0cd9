#include "platform/qt_serial_port.h"
#include "rig/spot_tuning.h"
#include "rig/yaesu_cat.h"
#include "tests/rig/pty_pair.h"
#include "tests/support/fakes/fake_serial_port.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

QStringList hex(const QList<QByteArray>& frames)
{
    QStringList out;
    for (const QByteArray& f : frames)
        out << yaesu::hexText(f);
    return out;
}

TEST(YaesuCatTest, FramesOfATuneByteForByte)
{
    const struct {
        Frequency hz;
        RigMode mode;
        const char* frequencyFrame;
        const char* modeFrame;
    } cases[] = {
        {14025000, RigMode::Lsb, "01 40 25 00 01", "00 00 00 00 07"}, // the click on a spot at 14025.0 kHz
        {7025000, RigMode::Cw, "00 70 25 00 01", "02 00 00 00 07"},
        {432200000, RigMode::Usb, "43 22 00 00 01", "01 00 00 00 07"},
        {144300000, RigMode::Fm, "14 43 00 00 01", "08 00 00 00 07"},
        {3650000, RigMode::CwReverse, "00 36 50 00 01", "03 00 00 00 07"},
        {28123455, RigMode::Am, "02 81 23 46 01", "04 00 00 00 07"}, // rounded to the nearest 10 Hz
        {999999990, RigMode::Lsb, "99 99 99 99 01", "00 00 00 00 07"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hz);
        const auto frames = yaesu::tuneFrames(c.hz, c.mode);
        ASSERT_TRUE(frames.has_value());
        EXPECT_EQ(hex(*frames), (QStringList{"00 00 00 00 00", c.frequencyFrame, c.modeFrame, "00 00 00 00 80"}));
    }
    EXPECT_FALSE(yaesu::tuneFrames(1000000000, RigMode::Usb)) << "nine digits do not pack";
    EXPECT_EQ(hex(*yaesu::frequencyFrames(7025000)),
              (QStringList{"00 00 00 00 00", "00 70 25 00 01", "00 00 00 00 80"}));
    EXPECT_EQ(hex(yaesu::modeFrames(RigMode::Cw)), (QStringList{"00 00 00 00 00", "02 00 00 00 07", "00 00 00 00 80"}));
}

TEST(YaesuCatTest, ModelsByName)
{
    const struct {
        const char* name;
        const char* model; // nullptr: none
    } cases[] = {{"FT-847", "FT-847"}, {"ft-817", "FT-817"}, {"897", "FT-897"},  {" FT-736 ", "FT-736"},
                 {"FT-1000", nullptr}, {"", nullptr},        {"IC-706", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const yaesu::Model* m = yaesu::modelNamed(c.name);
        EXPECT_EQ(m ? QString::fromLatin1(m->name) : QString(), QString::fromLatin1(c.model));
    }
    EXPECT_STREQ(yaesu::models()[yaesu::kDefaultModel].name, "FT-847");
}

TEST(SpotTuningTest, FrequencyOfADisplayLineAndTheSpotsMode)
{
    // Columns 1-27: a space, the date-time, a space, the DX; column 28 a space; 29-36 the QRG.
    const QString before = QStringLiteral(" 1204 15/06/08 F5ABC        ");
    const struct {
        const char* qrg; // columns 29-36
        std::optional<Frequency> hz;
    } lines[] = {
        {"  7025.0", 7025000},      {" 14025.0", 14025000},     {"144300.0", 144300000},    {"432200.0", 432200000},
        {"   14025", 14025000},     {"14025.35", 14025350}, // no decimal, two: kilohertz all the same
        {"  .14025", std::nullopt}, {"  14,025", std::nullopt}, {"     abc", std::nullopt}, {"        ", std::nullopt},
        {"     0.0", std::nullopt},
    };
    for (const auto& c : lines) {
        SCOPED_TRACE(c.qrg);
        EXPECT_EQ(spottuning::displayLineFrequency(before + c.qrg + " F6XYZ      DMF 59045"), c.hz);
    }
    EXPECT_EQ(spottuning::displayLineFrequency(before + "  7025"), std::nullopt);
    const struct {
        Frequency hz;
        RigMode mode;
    } modes[] = {{1838000, RigMode::Cw},   {1840000, RigMode::Lsb},   {3500000, RigMode::Cw},
                 {3650000, RigMode::Lsb},  {7040000, RigMode::Cw},    {7041000, RigMode::Lsb},
                 {10110000, RigMode::Cw},  {10140000, RigMode::Usb},  {14025000, RigMode::Cw},
                 {14070000, RigMode::Cw},  {14070100, RigMode::Usb},  {28500000, RigMode::Usb},
                 {144050000, RigMode::Cw}, {144300000, RigMode::Usb}, {432100000, RigMode::Cw},
                 {5000000, RigMode::Lsb},  {9999999, RigMode::Lsb},   {10000000, RigMode::Usb}};
    for (const auto& c : modes) {
        SCOPED_TRACE(c.hz);
        EXPECT_EQ(rigModeName(spottuning::spotMode(c.hz)), rigModeName(c.mode));
    }
    EXPECT_EQ(spottuning::kilohertzText(14025000), "14025.0");
    EXPECT_EQ(spottuning::kilohertzText(7025049), "7025.0");
    EXPECT_EQ(spottuning::kilohertzText(144300050), "144300.1");
}

TEST(YaesuRigTest, AClosedOrFailingPortIsAFailureAndAFrequencyOutOfReachSendsNothing)
{
    FakeSerialPorts ports({"/dev/ttyUSB0"});
    std::unique_ptr<SerialPort> port = ports.make();
    YaesuRig rig(*port, yaesu::models()[1]);
    QStringList failures;
    QObject::connect(&rig, &Rig::failure, [&](const QString& reason) { failures << reason; });

    rig.tune(14025000, RigMode::Cw);
    ASSERT_TRUE(port->open("/dev/ttyUSB0", 4800).isEmpty());
    rig.tune(1296000000, RigMode::Cw);
    rig.setMode(RigMode::Usb);
    ports.failWrites(true);
    rig.setFrequency(7025000);

    EXPECT_EQ(failures, (QStringList{"Aucun port n'est ouvert",
                                     QString::fromUtf8("La fréquence 1296000.0 kHz est hors de portée du FT-817"),
                                     "Le port /dev/ttyUSB0 refuse la commande (Input/output error)"}));
    EXPECT_EQ(ports.frames(), (QStringList{"00 00 00 00 00", "01 00 00 00 07", "00 00 00 00 80"}));
    EXPECT_EQ(rig.state(), (RigState{0, RigMode::Usb}));
}

// Each model through the real serial port on a pseudo-terminal: the bytes that reach the
// other end are the frames, at the model's speed.
TEST(YaesuRigTest, EachModelTunesThroughARealSerialPort)
{
    const Frequency frequencies[] = {14025000, 3650000, 144300000, 432200000};
    for (const yaesu::Model& model : yaesu::models()) {
        test::PtyPair pty;
        ASSERT_TRUE(pty.ok());
        QtSerialPort port;
        ASSERT_EQ(port.open(pty.slave(), model.defaultBaud), "") << pty.slave();
        YaesuRig rig(port, model);
        for (const Frequency hz : frequencies) {
            SCOPED_TRACE(std::string(model.name) + " " + std::to_string(hz));
            const RigMode mode = spottuning::spotMode(hz);
            rig.tune(hz, mode);
            const QByteArray expected = yaesu::tuneFrames(hz, mode).value_or(QList<QByteArray>{}).join();
            EXPECT_EQ(pty.read(20).toHex(' '), expected.toHex(' '));
            EXPECT_EQ(rig.state(), (RigState{hz, mode}));
        }
    }
}

} // namespace
} // namespace tv
