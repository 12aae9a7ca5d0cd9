#pragma once

#include <QString>

namespace tv {

// Modal message boxes.
//
// Responsibilities: show a text with an OK button, ask a Yes/No question, ask an OK/Cancel
// question with the critical-stop icon, choose a folder or a file, follow long work. Texts are passed exactly as the
// operator reads them; lines are separated by "\r\n" as the program builds them. Collaborations: QtDialogs (the real
// boxes), FakeDialogs (tests: scripted answers, every text recorded).
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An OK-only box.
    virtual void message(const QString& text) = 0;
    // A Yes/No box; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // An OK/Cancel box with the critical-stop icon; true for OK.
    virtual bool confirmCritical(const QString& text) = 0;
    // A folder chooser (used where a file is copied to a removable medium); an empty text
    // when the operator cancels.
    virtual QString chooseFolder(const QString& caption) = 0;
    // A chooser of an existing file to open; an empty text when the operator cancels.
    virtual QString chooseFile(const QString& caption) = 0;
    // Long work says how far it is: `done` steps of `total`, from 0 to `total`, which ends it.
    // The windows show a progress window when the work lasts; elsewhere nothing is shown.
    virtual void progress(const QString& text, int done, int total)
    {
        (void)text;
        (void)done;
        (void)total;
    }
};

} // namespace tv
