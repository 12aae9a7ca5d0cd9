#pragma once

#include "platform/printer.h"

#include <QList>
#include <QStringList>

namespace tv {

// A printer for tests: every line is recorded with the font it was printed in; the printer
// selection answers as scripted (chosen by default); ended documents are kept, others dropped.
class FakePrinter final : public Printer {
public:
    struct Line {
        QString text;
        QString fontName;
        int fontSize;
        bool bold;
    };

    QString fontName() const override { return m_fontName; }
    int fontSize() const override { return m_fontSize; }
    bool bold() const override { return m_bold; }
    void setFontName(const QString& name) override { m_fontName = name; }
    void setFontSize(int points) override { m_fontSize = points; }
    void setBold(bool bold) override { m_bold = bold; }

    bool choosePrinter() override
    {
        ++m_choices;
        return m_chooseAnswer;
    }
    void printLine(const QString& text) override { m_current.append({text, m_fontName, m_fontSize, m_bold}); }
    void placeText(double, double, const QString&, const PrintFont&) override {}
    void newPage() override {}
    bool endDocument() override
    {
        if (m_failEnd) {
            m_current.clear();
            return false;
        }
        m_documents.append(m_current);
        m_current.clear();
        return true;
    }
    void discardDocument() override { m_current.clear(); }

    // Scripts the answer of the printer selection (true: a printer is chosen).
    void answerChoice(bool chosen) { m_chooseAnswer = chosen; }
    // Makes every later endDocument fail.
    void failEnd(bool fail) { m_failEnd = fail; }

    int choices() const { return m_choices; }
    const QList<QList<Line>>& documents() const { return m_documents; }
    // The texts of one ended document.
    QStringList texts(int document = 0) const
    {
        QStringList out;
        for (const Line& line : m_documents.value(document))
            out << line.text;
        return out;
    }

private:
    QString m_fontName = QStringLiteral("Arial");
    int m_fontSize = 12;
    bool m_bold = false;
    bool m_chooseAnswer = true;
    bool m_failEnd = false;
    int m_choices = 0;
    QList<Line> m_current;
    QList<QList<Line>> m_documents;
};

} // namespace tv
