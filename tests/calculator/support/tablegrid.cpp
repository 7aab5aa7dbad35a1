#include "support/tablegrid.h"

#include "calculator/framework/stringgrid.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <cmath>

QList<QStringList> TableRows(const QString &cells)
{
    QList<QStringList> rows;
    for (const QString &row : cells.split(QStringLiteral(" / ")))
        rows.append(row.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    return rows;
}

void TypeTable(TStringGrid *grid, const QString &cells)
{
    grid->setFocus(Qt::TabFocusReason);
    grid->setCurrentCell(0, 0);
    bool first = true;
    for (const QStringList &row : TableRows(cells))
        for (const QString &count : row) {
            if (!first)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            first = false;
            if (count != QLatin1String("_"))
                for (QChar digit : count)
                    QTest::keyClick(QApplication::focusWidget(), digit.toLatin1());
        }
}

QStringList EchoLines(const QString &cells)
{
    QStringList lines;
    for (const QStringList &row : TableRows(cells)) {
        QString line = QStringLiteral("  ");
        for (QString count : row) {
            if (count == QLatin1String("_"))
                count = QStringLiteral("0");
            line += count.size() < 7 ? count.rightJustified(7) : QLatin1Char(' ') + count;
        }
        lines.append(line);
    }
    return lines;
}

QString CheckField(const QString &line, int from, int width, double expected)
{
    const QString field = line.mid(from, width);
    const auto problem = [&](const char *what) {
        return QStringLiteral("%1: field \"%2\" of \"%3\", expected %4")
            .arg(QLatin1String(what), field, line)
            .arg(expected, 0, 'g', 17);
    };
    if (field.size() != width)
        return problem("line too short");
    if (std::isnan(expected))
        return field.trimmed().isEmpty() ? QString() : problem("not blank");
    if (field[0] != QLatin1Char(' '))
        return problem("no blank first");

    const QString shown = field.trimmed();
    bool ok = false;
    const double value = shown.toDouble(&ok);
    if (!ok)
        return problem("not a number");
    // One unit of the last digit shown: a field rounds its value, or cuts
    // digits to fit.
    const qsizetype e = shown.indexOf(QLatin1Char('E'));
    const QString mantissa = e < 0 ? shown : shown.left(e);
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : static_cast<int>(mantissa.size() - point - 1);
    const int exponent = e < 0 ? 0 : shown.mid(e + 1).toInt();
    const double tolerance = std::pow(10.0, exponent - decimals) * (1 + 1e-9);
    if (std::fabs(value - expected) > tolerance)
        return problem("wrong value");
    return {};
}

QString CheckGridFrame(TStringGrid *grid)
{
    const QRect cells(2, 2, 41 * grid->ColCount(), 21 * grid->RowCount());
    const QRect inside = grid->viewport()->geometry();
    if (inside != cells)
        return QStringLiteral("cells in %1,%2 %3 x %4, frame inside %5,%6 %7 x %8")
            .arg(cells.x()).arg(cells.y()).arg(cells.width()).arg(cells.height())
            .arg(inside.x()).arg(inside.y()).arg(inside.width()).arg(inside.height());
    const QImage image = grid->grab().toImage();
    const QColor base = grid->palette().color(QPalette::Base);
    for (int y = cells.top(); y <= cells.bottom(); ++y)
        if (image.pixelColor(cells.right(), y) == base)
            return QStringLiteral("right edge open at y = %1").arg(y);
    for (int x = cells.left(); x <= cells.right(); ++x)
        if (image.pixelColor(x, cells.bottom()) == base)
            return QStringLiteral("bottom edge open at x = %1").arg(x);
    const int dialog = grid->palette().color(QPalette::Window).lightness();
    for (int y = 0; y < grid->height() - 1; ++y)
        if (image.pixelColor(0, y).lightness() >= dialog)
            return QStringLiteral("left frame missing at y = %1").arg(y);
    for (int x = 0; x < grid->width() - 1; ++x)
        if (image.pixelColor(x, 0).lightness() >= dialog)
            return QStringLiteral("top frame missing at x = %1").arg(x);
    return {};
}
