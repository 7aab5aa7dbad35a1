#include "calculator/dialogs/countgrid.h"

#include "calculator/framework/convert.h"
#include "calculator/framework/stringgrid.h"
#include "calculator/results.h"

#include <algorithm>

TStringGrid *CountGrid(QWidget *parent, QAbstractItemView::SelectionMode selection,
                       std::function<void(QChar &Key)> keyFilter)
{
    auto *grid = new TStringGrid(parent);
    grid->setGeometry(16, 48, 410, 210);
    grid->SetColCount(10);
    grid->SetRowCount(10);
    grid->setSelectionMode(selection);
    grid->setCurrentCell(0, 0);
    grid->OnKeyPress = std::move(keyFilter);
    return grid;
}

void KeepDigits(QChar &Key, bool allowBackspace)
{
    const bool digit = Key >= QLatin1Char('0') && Key <= QLatin1Char('9');
    if (!digit && !(allowBackspace && Key == QChar(8)))
        Key = QChar();
}

int CellCount(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const bool digits = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!digits)
        throw EConvertError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return StrToInt(text);
}

CountTable ReadCounts(const TStringGrid &grid, int columns, int rows)
{
    CountTable table{};
    for (int i = 1; i <= rows; ++i) {
        QString row;
        for (int j = 1; j <= columns; ++j) {
            const int x = CellCount(grid.Cell(j - 1, i - 1));
            table[j][i] += x;
            table[j][0] += x;
            table[0][i] += x;
            table[0][0] += x;
            const QString count = IntToStr(x);
            row += count.size() < 7 ? count.rightJustified(7) : QLatin1Char(' ') + count;
        }
        AppendLine(QStringLiteral("  ") + row);
    }
    return table;
}
