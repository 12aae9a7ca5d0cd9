#include "platform/settings_keys.h"
#include "rig/rig_panel.h"
#include "rig/yaesu_cat.h"
#include "tests/rig/rigctld_daemon.h"
#include "tests/support/fakes/fake_serial_port.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

namespace tv {
namespace {

class RigPanelTest : public ::testing::Test {
protected:
    void store(const QString& key, const QString& value) { fx.settings.setValue(keys::kZez, keys::kSetup, key, value); }
    QString stored(const QString& key) const { return fx.settings.value(keys::kZez, keys::kSetup, key); }
    std::unique_ptr<RigPanel> panel() { return std::make_unique<RigPanel>(fx.services(), ports); }
    static QString text(const RigPanel& p, const char* name) { return test::child<QLabel>(p, name)->text(); }
    // The check marks of a menu: its checked entries.
    static QStringList checked(const QMenu* menu)
    {
        QStringList out;
        for (const QAction* a : menu->actions())
            if (a->isChecked())
                out << a->text();
        return out;
    }
    static void choose(QMenu* menu, const QString& entry)
    {
        for (QAction* a : menu->actions())
            if (a->text() == entry)
                return a->trigger();
        ADD_FAILURE() << "no entry " << entry;
    }

    test::Fixture fx;
    FakeSerialPorts ports{{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"}};
};

TEST_F(RigPanelTest, OpensWithTheStoredChoices)
{
    const struct {
        const char *model, *port, *baud;            // stored; no model: nothing stored
        const char *emetteur, *numPort, *debitPort; // shown
        const char *portCheck, *baudCheck, *opened; // "" for none
    } cases[] = {
        {nullptr, nullptr, nullptr, "FT-847", "0", "0", "Sans", "", ""},
        {"1", "/dev/ttyUSB0", "9600,n,8,1", "FT-817", "/dev/ttyUSB0", "9600", "/dev/ttyUSB0", "9600",
         "/dev/ttyUSB0@9600"},
        {"2", "/dev/ttyUSB1", "19200,n,8,1", "FT-847", "/dev/ttyUSB1", "19200", "/dev/ttyUSB1", "19200",
         "/dev/ttyUSB1@19200"},
        {"3", "/dev/ttyS0", "0", "FT-897", "/dev/ttyS0", "4800", "/dev/ttyS0", "",
         "/dev/ttyS0@4800"},                                                 // the model's speed
        {"0", "3", "9600,n,8,1", "FT-736", "0", "9600", "Sans", "9600", ""}, // a port number of old
        {"9", "/dev/ttyACM0", "57600,n,8,1", "FT-847", "/dev/ttyACM0", "57600", "/dev/ttyACM0", "57600", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.emetteur + std::string(" ") + c.numPort);
        test::Fixture f;
        FakeSerialPorts p{{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"}};
        p.refuse("/dev/ttyACM0");
        if (c.model) {
            f.settings.setValue(keys::kZez, keys::kSetup, keys::kTransceiver, c.model);
            f.settings.setValue(keys::kZez, keys::kSetup, keys::kPortCom, c.port);
            f.settings.setValue(keys::kZez, keys::kSetup, keys::kBaud, c.baud);
        }
        RigPanel panel(f.services(), p);
        EXPECT_EQ(test::child<QComboBox>(panel, "Emetteur")->currentText(), c.emetteur);
        EXPECT_EQ(text(panel, "NumPort"), c.numPort);
        EXPECT_EQ(text(panel, "DebitPort"), c.debitPort);
        EXPECT_EQ(checked(panel.portMenu()), QStringList{c.portCheck});
        EXPECT_EQ(checked(panel.baudMenu()), *c.baudCheck ? QStringList{c.baudCheck} : QStringList());
        EXPECT_EQ(p.opened(), *c.opened ? QStringList{c.opened} : QStringList());
        EXPECT_EQ(panel.portOpen(), *c.opened != 0);
        EXPECT_EQ(text(panel, "EtatEmetteur"),
                  !*c.opened && QString(c.numPort) != "0" ? QString("Le port %1 n'existe pas").arg(c.numPort) : "");
        EXPECT_EQ(f.dialogs.texts(), QStringList()) << "no message box at open";
    }
}

TEST_F(RigPanelTest, ARefusedPortIsToldAndChangesNothing)
{
    store(keys::kPortCom, "/dev/ttyUSB0");
    store(keys::kBaud, "4800,n,8,1");
    auto p = panel();
    ports.refuse("/dev/ttyUSB1");
    fx.settings.clearWrites();
    choose(p->portMenu(), "/dev/ttyUSB1");
    EXPECT_EQ(fx.dialogs.texts(), QStringList{"Le port /dev/ttyUSB1 n'existe pas"});
    EXPECT_EQ(text(*p, "NumPort"), "/dev/ttyUSB0");
    EXPECT_EQ(checked(p->portMenu()), QStringList{"/dev/ttyUSB0"});
    EXPECT_EQ(fx.settings.writes(), QStringList());
    EXPECT_EQ(ports.openNow(), 1) << "the port open before stays open";

    choose(p->portMenu(), "/dev/ttyS0");
    choose(p->baudMenu(), "57600");
    EXPECT_EQ(ports.openNow(), 1);
    EXPECT_EQ(fx.settings.writes(), (QStringList{"ZEZ|Setup |Port Com=/dev/ttyS0", "ZEZ|Setup |Baud=57600,n,8,1"}));
    EXPECT_EQ(checked(p->portMenu()), QStringList{"/dev/ttyS0"});
    EXPECT_EQ(text(*p, "DebitPort"), "57600");
    p->tune(14025000);
    EXPECT_EQ(ports.writes().value(0).port, "/dev/ttyS0");
    EXPECT_EQ(ports.writes().value(0).baud, 57600);
}

TEST_F(RigPanelTest, TuningSendsTheFramesAndShowsTheOutcomeInThePanel)
{
    store(keys::kTransceiver, "3");
    store(keys::kPortCom, "/dev/ttyUSB0");
    auto p = panel();
    QList<RigState> tuned;
    QObject::connect(p.get(), &RigPanel::tuned, [&](const RigState& s) { tuned << s; });

    p->tune(7025000);
    EXPECT_EQ(ports.frames(), (QStringList{"00 00 00 00 00", "00 70 25 00 01", "02 00 00 00 07", "00 00 00 00 80"}));
    EXPECT_EQ(text(*p, "EtatEmetteur"), QString::fromUtf8("Émetteur réglé sur 7025.0 kHz en CW"));
    EXPECT_EQ(tuned, (QList<RigState>{{7025000, RigMode::Cw}}));

    ports.failWrites(true);
    p->tune(3650000);
    EXPECT_EQ(text(*p, "EtatEmetteur"), "Le port /dev/ttyUSB0 refuse la commande (Input/output error)");
    EXPECT_EQ(fx.dialogs.texts(), QStringList()) << "a failed tune is no message box";

    ports.failWrites(false);
    ports.clearWrites();
    choose(p->portMenu(), "Sans");
    p->tune(14025000);
    EXPECT_EQ(ports.writes().size(), 0) << "no port, nothing sent";
    EXPECT_EQ(ports.openNow(), 0);
    EXPECT_EQ(text(*p, "NumPort"), "0");
    EXPECT_EQ(text(*p, "DebitPort"), "0");
    EXPECT_EQ(checked(p->portMenu()), QStringList{"Sans"});
    EXPECT_EQ(checked(p->baudMenu()), QStringList());
    EXPECT_EQ(stored(keys::kPortCom), "0");
    EXPECT_EQ(stored(keys::kBaud), "0");
}

TEST_F(RigPanelTest, RigctldFreesThePortAndTunesTheDaemonGivenInThePanel)
{
    store(keys::kPortCom, "/dev/ttyUSB0");
    auto p = panel();
    ASSERT_TRUE(p->portOpen());
    auto* model = test::child<QComboBox>(*p, "Emetteur");
    model->setCurrentIndex(4);
    Q_EMIT model->activated(4);
    EXPECT_EQ(model->currentText(), "rigctld (Hamlib)");
    EXPECT_EQ(ports.openNow(), 0) << "rigctld may use the port";
    EXPECT_FALSE(p->portMenu()->isEnabled());
    EXPECT_EQ(stored(keys::kLiaison), "rigctld");

    const quint16 absent = test::RigctldDaemon::freePort();
    auto* port = test::child<QLineEdit>(*p, "PortRigctld");
    auto* host = test::child<QLineEdit>(*p, "HoteRigctld");
    host->setText("127.0.0.1");
    port->setText(QString::number(absent));
    Q_EMIT port->editingFinished();
    EXPECT_EQ(stored(keys::kHoteRigctld), "127.0.0.1");
    p->tune(14025000);
    EXPECT_EQ(text(*p, "EtatEmetteur"),
              QString::fromUtf8("rigctld ne répond pas sur 127.0.0.1:%1 (connexion refusée)").arg(absent));

    test::RigctldDaemon daemon;
    ASSERT_TRUE(daemon.started()) << daemon.error();
    port->setText(QString::number(daemon.port()));
    Q_EMIT port->editingFinished();
    p->tune(14250000);
    EXPECT_EQ(text(*p, "EtatEmetteur"), QString::fromUtf8("Émetteur réglé sur 14250.0 kHz en USB"));
    EXPECT_EQ(ports.writes().size(), 0);

    model->setCurrentIndex(0);
    Q_EMIT model->activated(0);
    EXPECT_EQ(ports.opened().last(), "/dev/ttyUSB0@4800") << "back to a Yaesu: its port opens again";
    EXPECT_EQ(stored(keys::kTransceiver), "0");
    EXPECT_EQ(stored(keys::kLiaison), "Yaesu");
}

} // namespace
} // namespace tv
