#pragma once

#include "platform/printer.h"

#include <QList>
#include <QStringList>

namespace tv {

// A printer for tests: every line is recorded with the font it was printed in, every placed
// text with its document, page, position and font; the printer selection answers as scripted
// (chosen by default); ended documents are kept, discarded ones counted.
class FakePrinter final : public Printer {
public:
    struct Line {
        QString text;
        QString fontName;
        int fontSize;
        bool bold;
    };
    struct Placed {
        int document; // the number of documents ended before it
        int page;
        double x;
        double y;
        QString text;
        PrintFont font;
        bool operator==(const Placed&) const = default;
    };

    bool choosePrinter() override
    {
        ++m_choices;
        return m_chooseAnswer;
    }
    void printLine(const QString& text) override { m_current.append({text, fontName(), fontSize(), bold()}); }
    void placeText(double xMm, double yMm, const QString& text, const PrintFont& font) override
    {
        m_placed.append({int(m_documents.size()), m_page, xMm, yMm, text, font});
    }
    void newPage() override { ++m_page; }
    bool endDocument() override
    {
        m_page = 0;
        if (m_failEnd) {
            dropPending();
            return false;
        }
        m_documents.append(m_current);
        m_current.clear();
        return true;
    }
    void discardDocument() override
    {
        ++m_discarded;
        dropPending();
    }

    // Scripts the answer of the printer selection (true: a printer is chosen).
    void answerChoice(bool chosen) { m_chooseAnswer = chosen; }
    // Makes every later endDocument fail.
    void failEnd(bool fail) { m_failEnd = fail; }

    int choices() const { return m_choices; }
    int discarded() const { return m_discarded; }
    const QList<QList<Line>>& documents() const { return m_documents; }
    // Every text placed in the documents ended so far and in the pending one.
    const QList<Placed>& placed() const { return m_placed; }
    // The texts of one ended document.
    QStringList texts(int document = 0) const
    {
        QStringList out;
        for (const Line& line : m_documents.value(document))
            out << line.text;
        return out;
    }

private:
    void dropPending()
    {
        m_current.clear();
        const int document = int(m_documents.size());
        m_placed.removeIf([document](const Placed& p) { return p.document == document; });
        m_page = 0;
    }

    bool m_chooseAnswer = true;
    bool m_failEnd = false;
    int m_choices = 0;
    int m_discarded = 0;
    int m_page = 0;
    QList<Line> m_current;
    QList<Placed> m_placed;
    QList<QList<Line>> m_documents;
};

} // namespace tv
