#include "rig/rigctld_rig.h"
#include "tests/rig/rigctld_daemon.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(RigctldRigTest, TheDummyRigTakesFrequencyAndModeAndReadsThemBack)
{
    test::RigctldDaemon daemon;
    ASSERT_TRUE(daemon.started()) << daemon.error();
    RigctldRig rig(QStringLiteral("127.0.0.1"), daemon.port());
    QStringList failures;
    QObject::connect(&rig, &Rig::failure, [&](const QString& reason) { failures << reason; });
    const struct {
        Frequency hz;
        RigMode mode;
    } cases[] = {{14025000, RigMode::Cw}, {3650000, RigMode::Lsb}, {144300000, RigMode::Usb}, {7025000, RigMode::Am}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hz);
        rig.tune(c.hz, c.mode);
        EXPECT_EQ(rig.lastCommands(),
                  (QStringList{QStringLiteral("F %1").arg(c.hz), "M " + rigModeName(c.mode) + " 0"}));
        const RigctldRig::ReadBack back = rig.readBack();
        EXPECT_EQ(back.error, "");
        EXPECT_EQ(back.state, (RigState{c.hz, c.mode}));
    }
    rig.setMode(RigMode::Fm);
    EXPECT_EQ(rig.readBack().state, (RigState{7025000, RigMode::Fm}));
    EXPECT_EQ(failures, QStringList());

    daemon.stop();
    rig.setFrequency(28500000);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("rigctld"))) << failures[0];
    EXPECT_EQ(rig.state(), (RigState{7025000, RigMode::Fm})) << "a refused command leaves the state";
}

TEST(RigctldRigTest, AnAbsentDaemonIsAFailureInFrench)
{
    const quint16 port = test::RigctldDaemon::freePort();
    RigctldRig rig(QStringLiteral("127.0.0.1"), port);
    QStringList failures;
    QObject::connect(&rig, &Rig::failure, [&](const QString& reason) { failures << reason; });
    rig.tune(14025000, RigMode::Cw);
    EXPECT_EQ(failures,
              QStringList{QStringLiteral("rigctld ne répond pas sur 127.0.0.1:%1 (connexion refusée)").arg(port)});
    EXPECT_EQ(rig.readBack().error, failures[0]);
}

} // namespace
} // namespace tv
