#pragma once

#include <QObject>
#include <QString>

namespace tv {

// A frequency, in whole hertz.
using Frequency = quint64;

enum class RigMode { Lsb, Usb, Cw, CwReverse, Am, Fm };

// The mode's name as radios and Hamlib write it: "LSB", "USB", "CW", "CWR", "AM", "FM".
QString rigModeName(RigMode mode);

// What the radio took of the program's commands (a frequency of 0: none set yet).
struct RigState {
    Frequency frequency = 0;
    RigMode mode = RigMode::Usb;
    bool operator==(const RigState&) const = default;
};

// A transceiver the program tunes: set the frequency, set the mode.
//
// Responsibilities: take each command, report the new state when the radio took it, or the
// failure in French for the operator; a failed command leaves the state as it was.
// Collaborations: RigBase below is the base of every real rig (one class per way of reaching a
// radio: Yaesu CAT over a serial port, a rig control daemon); FakeRig in the tests.
class Rig : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void setFrequency(Frequency hz) = 0;
    virtual void setMode(RigMode mode) = 0;
    // Frequency, then mode, as one command to the radio.
    virtual void tune(Frequency hz, RigMode mode) = 0;
    virtual RigState state() const = 0;

Q_SIGNALS:
    void stateChanged(const tv::RigState& state);
    void failure(const QString& reason);
};

// The base of every real rig: it sends each command through the subclass, keeps the state of
// the commands taken and turns a refused command into failure().
class RigBase : public Rig {
    Q_OBJECT
public:
    using Rig::Rig;

    void setFrequency(Frequency hz) final;
    void setMode(RigMode mode) final;
    void tune(Frequency hz, RigMode mode) final;
    RigState state() const final { return m_state; }

protected:
    // Send one command to the radio: an empty text when it was sent, else the reason in French
    // ("Le port com2 n'existe pas").
    virtual QString sendFrequency(Frequency hz) = 0;
    virtual QString sendMode(RigMode mode) = 0;
    // Frequency and mode in one go; by default the frequency, then, if it was taken, the mode.
    virtual QString sendTune(Frequency hz, RigMode mode);

private:
    void apply(const QString& error, const RigState& next);

    RigState m_state;
};

} // namespace tv
