#include "session/PrintedTable.h"

#include "Utillib/FontUtil.h"
#include "gettext/Translator.h"
#include "platform/WinTypes.h"
#include "ui/RangeGauge.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdlib>

namespace sessionprint {

std::wstring figureOf(const PrintedRow& row) { return row.average.empty() ? row.total : row.average; }

int printTable(QPainter& painter, const std::vector<PrintedRow>& rows, int left, int top, int width, int lineHeight)
{
    const QFont previous = painter.font();
    QPaintDevice* device = painter.device();
    const QString face = FontUtil::exists("DejaVu Sans", device, 0) ? QStringLiteral("DejaVu Sans") : QString();
    QFont rowFont(face);
    rowFont.setPixelSize(std::abs(FontUtil::pointSizeToHeight(90, device)));
    QFont noteFont(face);
    noteFont.setPixelSize(std::abs(FontUtil::pointSizeToHeight(80, device)));
    noteFont.setItalic(true);

    painter.setFont(rowFont);
    const QFontMetrics fm = painter.fontMetrics();
    const auto measure = [&fm](const std::wstring& text) { return fm.horizontalAdvance(QString::fromStdWString(text)); };
    const TableColumns c = tableColumns(rows, left, width, measure);
    const int h = fm.height();
    const auto lineTop = [&](std::size_t i) { return top + static_cast<int>(3 * lineHeight * i / 2); };
    const auto textTop = [&](std::size_t i) { return lineTop(i) + static_cast<int>((lineHeight - h) * 0.5); };
    const auto textOut = [&painter](int x, int y, const std::wstring& text) {
        painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), QString::fromStdWString(text));
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PrintedRow& row = rows[i];
        const int y = textTop(i);
        textOut(left, y, row.name);
        if (row.gauge) {
            const RECT gaugeRect{c.gaugeFrom, lineTop(i), c.gaugeTo, lineTop(i) + lineHeight};
            row.gauge->draw(painter, gaugeRect, false);
        }
        textOut(c.figureX, y, figureOf(row));
        textOut(c.recommendationX, y, L" (" + row.recommended + L")");
        textOut(c.evaluationX, y, row.evaluation);
    }
    const int noteY = textTop(rows.size());
    painter.setFont(noteFont);
    textOut(c.recommendationX, noteY, translate("Recommended values in brackets."));
    painter.setFont(previous);
    return static_cast<int>((rows.size() + 1) * lineHeight * 3 / 2);
}

} // namespace sessionprint
