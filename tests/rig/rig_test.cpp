#include "tests/support/fakes/fake_rig.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(RigBaseTest, ATakenCommandChangesTheStateAndARefusedOneOnlyReportsItsReason)
{
    FakeRig rig;
    QList<RigState> states;
    QStringList failures;
    QObject::connect(&rig, &Rig::stateChanged, [&](const RigState& s) { states << s; });
    QObject::connect(&rig, &Rig::failure, [&](const QString& reason) { failures << reason; });

    rig.setFrequency(14025000);
    rig.setMode(RigMode::Lsb);
    rig.failWith(QStringLiteral("Le port com2 n'existe pas"));
    rig.setFrequency(7025000);
    rig.failWith(QString());
    rig.setMode(RigMode::Cw);

    using Call = FakeRig::Call;
    EXPECT_EQ(rig.calls(), (QList<Call>{{Call::Frequency, 14025000, RigMode::Usb},
                                        {Call::Mode, 0, RigMode::Lsb},
                                        {Call::Frequency, 7025000, RigMode::Usb},
                                        {Call::Mode, 0, RigMode::Cw}}));
    EXPECT_EQ(failures, QStringList{"Le port com2 n'existe pas"});
    EXPECT_EQ(states, (QList<RigState>{{14025000, RigMode::Usb}, {14025000, RigMode::Lsb}, {14025000, RigMode::Cw}}))
        << "the refused frequency is not taken into the state";
    EXPECT_EQ(rig.state(), (RigState{14025000, RigMode::Cw}));
}

} // namespace
} // namespace tv
