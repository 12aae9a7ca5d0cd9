#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The QSOs of one department, listed from a cell of the department grid.
namespace tv::departmentqsos {

// The code a grid cell stands for: its number on two digits ("05", "59"), "2a" for 96 and "2b"
// for 97.
QByteArray codeOfCell(int cell);

// The column titles above the list.
QString columnTitles();

// The list lines: the first 116 characters of the list entry (row number in 5 characters, a
// space, the log line) of every line whose department (columns 37-38, untrimmed) is the code;
// "2a" and "2b" also list the lines written "2A" and "2B", and the other way round.
QList<QByteArray> lines(const QList<QByteArray>& logLines, const QByteArray& code);

// "3  QSO's effectués avec le département 05".
QString countText(int count, const QByteArray& code);

} // namespace tv::departmentqsos
