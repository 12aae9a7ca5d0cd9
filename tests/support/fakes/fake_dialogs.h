#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

namespace tv {

// Message boxes for tests: every text shown is recorded with its kind; questions take their
// answers from a script, an unscripted question being answered No / Cancel; progress steps are
// recorded.
class FakeDialogs final : public Dialogs {
public:
    enum class Kind { Message, YesNo, Critical, Folder, File };
    struct Shown {
        Kind kind;
        QString text;
    };

    void message(const QString& text) override { m_shown.append({Kind::Message, text}); }
    bool askYesNo(const QString& text) override
    {
        m_shown.append({Kind::YesNo, text});
        return next();
    }
    bool confirmCritical(const QString& text) override
    {
        m_shown.append({Kind::Critical, text});
        return next();
    }
    QString chooseFolder(const QString& caption) override
    {
        m_shown.append({Kind::Folder, caption});
        return m_folders.isEmpty() ? QString() : m_folders.dequeue();
    }
    QString chooseFile(const QString& caption) override
    {
        m_shown.append({Kind::File, caption});
        return m_files.isEmpty() ? QString() : m_files.dequeue();
    }

    void progress(const QString&, int done, int total) override { m_progress.append({done, total}); }

    // Scripts the next answers: true for Yes / OK.
    void answer(bool yes) { m_answers.enqueue(yes); }
    void answerFolder(const QString& folder) { m_folders.enqueue(folder); }
    void answerFile(const QString& file) { m_files.enqueue(file); }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const
    {
        QStringList out;
        for (const Shown& s : m_shown)
            out << s.text;
        return out;
    }
    QString last() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); }
    int pendingAnswers() const { return int(m_answers.size()); }
    // Every progress step told: done, total.
    const QList<std::pair<int, int>>& progressSteps() const { return m_progress; }

private:
    bool next() { return !m_answers.isEmpty() && m_answers.dequeue(); }

    QList<Shown> m_shown;
    QQueue<bool> m_answers;
    QQueue<QString> m_folders;
    QQueue<QString> m_files;
    QList<std::pair<int, int>> m_progress;
};

} // namespace tv
