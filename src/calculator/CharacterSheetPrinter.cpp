#include "calculator/CharacterSheetPrinter.h"

#include "calculator/ChartView.h"

#include <QDate>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cstddef>
#include <numeric>
#include <vector>

namespace vorn {
namespace {

constexpr std::size_t kColumns = std::size(kSheetColumns);
using Columns = std::array<QString, kColumns>;

// The sheet is laid out in units of a 96 dpi screen whatever the printer's resolution, with fonts sized
// in those units, so that it looks the same on a 300 dpi printer and in a PDF file.
constexpr double kUnitsPerInch = 96.0;
constexpr int kBodyPixels = 11;
constexpr int kTitlePixels = 20;
constexpr double kPad = 4;
// The columns of words (event, note, what was done) share the width that the date and the figures
// leave, in these parts of ten, and wrap; the others take one line as wide as their widest cell.
constexpr std::array<double, kColumns> kWordShare = {0, 0, 3, 4, 3, 0, 0, 0};
// The chart takes at most this share of the first page's height.
constexpr double kChartShare = 0.3;

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

QString userDate(const CalendarDay& day)
{
    return QLocale().toString(QDate(day.year, day.month, day.day), QLocale::ShortFormat);
}

QString userDate(const std::string& iso)
{
    const std::optional<CalendarDay> day = dayFromIsoDate(iso);
    return day ? userDate(*day) : QString();
}

QFont sized(int pixels, bool bold = false)
{
    QFont f;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Text wrapped to a column: at word boundaries, within a word only where the word alone is too wide.
class Wrapped {
public:
    Wrapped(const QString& s, const QFont& font, QPaintDevice* device, double width)
        : m_layout(s, font, device)
    {
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_layout.setTextOption(option);
        m_layout.beginLayout();
        for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, m_height));
            m_height += line.height();
        }
        m_layout.endLayout();
    }
    double height() const { return m_height; }
    void draw(QPainter& p, QPointF at) const { m_layout.draw(&p, at); }

private:
    QTextLayout m_layout;
    double m_height = 0;
};

struct Table {
    std::array<double, kColumns> widths{};
    std::vector<Columns> rows; // the header first
    std::vector<double> heights;
};

Columns cellsOf(const SheetRow& r)
{
    return {text(r.step), userDate(r.date), text(r.event),   text(r.note),
            text(r.what), text(r.build),    text(r.looseXP), text(r.totalXP)};
}

Table layOutTable(const CharacterSheet& sheet, QPaintDevice* device, double width)
{
    Table t;
    Columns header;
    for (std::size_t c = 0; c < kColumns; ++c)
        header[c] = QString::fromUtf8(kSheetColumns[c]);
    t.rows.push_back(header);
    for (const SheetRow& r : sheet.rows)
        t.rows.push_back(cellsOf(r));

    const QFontMetricsF bold(sized(kBodyPixels, true), device);
    double fixed = 0;
    for (std::size_t c = 0; c < kColumns; ++c) {
        if (kWordShare[c] > 0)
            continue;
        double widest = 0;
        for (const Columns& row : t.rows)
            widest = std::max(widest, bold.horizontalAdvance(row[c]));
        t.widths[c] = widest + 2 * kPad + 1;
        fixed += t.widths[c];
    }
    const double rest = std::max(0.0, width - fixed);
    for (std::size_t c = 0; c < kColumns; ++c)
        if (kWordShare[c] > 0)
            t.widths[c] = rest * kWordShare[c] / 10;

    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        const QFont font = sized(kBodyPixels, i == 0 || sheet.rows[i - 1].current);
        double tallest = QFontMetricsF(font, device).height();
        for (std::size_t c = 0; c < kColumns; ++c)
            if (kWordShare[c] > 0)
                tallest =
                    std::max(tallest, Wrapped(t.rows[i][c], font, device, t.widths[c] - 2 * kPad).height());
        t.heights.push_back(tallest + 2 * kPad);
    }
    return t;
}

void drawRow(QPainter& p, const Table& t, std::size_t i, bool current, double y, double width)
{
    const bool header = i == 0;
    const QFont font = sized(kBodyPixels, header || current);
    p.setFont(font);
    const double h = t.heights[i];
    if (header)
        p.fillRect(QRectF(0, y, width, h), QColor(225, 225, 225));
    else if (i % 2 == 0)
        p.fillRect(QRectF(0, y, width, h), QColor(244, 244, 244));
    double x = 0;
    for (std::size_t c = 0; c < kColumns; ++c) {
        const QRectF cell(x + kPad, y + kPad, t.widths[c] - 2 * kPad, h - 2 * kPad);
        p.setPen(Qt::black);
        if (kWordShare[c] == 0)
            p.drawText(cell, (kSheetColumnIsFigure[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop,
                       t.rows[i][c]);
        else
            Wrapped(t.rows[i][c], font, p.device(), cell.width()).draw(p, cell.topLeft());
        x += t.widths[c];
    }
    p.setPen(QPen(QColor(160, 160, 160), 0.5));
    p.drawLine(QPointF(0, y + h), QPointF(width, y + h));
}

// Paper, ink and two line colours that print in black and white as well as in colour.
QPalette paperPalette()
{
    QPalette pal;
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Highlight, QColor(20, 70, 170));
    return pal;
}

// The first page's heading, results and chart; returns where the table may begin.
double drawFirstPageHead(QPainter& p, const CharacterSheet& sheet, const Chart& chart, const QSizeF& page)
{
    double y = 0;
    p.setPen(Qt::black);
    p.setFont(sized(kTitlePixels, true));
    const double titleHeight = p.fontMetrics().height();
    p.drawText(QRectF(0, y, page.width(), titleHeight), Qt::AlignLeft, text(sheet.title));
    y += titleHeight + kPad;

    p.setFont(sized(kBodyPixels));
    const double line = p.fontMetrics().height();
    QString facts = QStringLiteral("File: %1    Class: %2").arg(text(sheet.fileName), text(sheet.className));
    if (sheet.printedOn)
        facts += QStringLiteral("    Printed: %1").arg(userDate(*sheet.printedOn));
    p.drawText(QRectF(0, y, page.width(), line), Qt::AlignLeft, facts);
    y += line + 2 * kPad;

    // The six results in three columns of two, as large as a heading.
    const QFont big = sized(kBodyPixels + 3, true);
    p.setFont(big);
    const double bigLine = p.fontMetrics().height();
    const double third = page.width() / 3;
    for (std::size_t i = 0; i < sheet.results.size(); ++i) {
        const QRectF cell(third * double(i % 3), y + bigLine * double(i / 3) * 1.3, third, bigLine);
        p.drawText(cell, Qt::AlignLeft, text(sheet.results[i].caption) + ": " + text(sheet.results[i].value));
    }
    y += bigLine * 1.3 * double((sheet.results.size() + 2) / 3) + kPad;

    p.setFont(sized(kBodyPixels));
    const double chartHeight = std::min(260.0, page.height() * kChartShare);
    drawChart(p, QRect(0, int(y), int(page.width()), int(chartHeight)), chart, paperPalette());
    return y + chartHeight + 3 * kPad;
}

// Each later page opens with the sheet's title and file, so that a loose page can be put back.
double drawLaterPageHead(QPainter& p, const CharacterSheet& sheet, const QSizeF& page)
{
    p.setFont(sized(kBodyPixels, true));
    p.setPen(Qt::black);
    const double line = p.fontMetrics().height();
    p.drawText(QRectF(0, 0, page.width(), line), Qt::AlignLeft,
               text(sheet.title) + QStringLiteral(" \u2013 ") + text(sheet.fileName));
    return line + 2 * kPad;
}

// The rows of the table (1 on, the header being row 0) that each page holds.
struct Span {
    std::size_t from;
    std::size_t to;
};

std::vector<Span> paginate(const Table& t, double firstTop, double laterTop, double bottom)
{
    std::vector<Span> pages;
    std::size_t row = 1;
    while (row < t.rows.size() || pages.empty()) {
        double room = bottom - (pages.empty() ? firstTop : laterTop) - t.heights[0];
        const std::size_t from = row;
        // A page takes at least one row, so that a row taller than any page is printed all the same.
        while (row < t.rows.size() && (row == from || t.heights[row] <= room)) {
            room -= t.heights[row];
            ++row;
        }
        pages.push_back({from, row});
    }
    return pages;
}

} // namespace

int printCharacterSheet(const CharacterSheet& sheet, const Chart& chart, QPrinter& printer)
{
    QPainter p;
    if (!p.begin(&printer))
        return 0;
    const double scale = printer.resolution() / kUnitsPerInch;
    p.scale(scale, scale);
    const QSizeF page = QSizeF(printer.pageLayout().paintRectPixels(printer.resolution()).size()) / scale;
    p.setFont(sized(kBodyPixels));
    const double footer = p.fontMetrics().height() + 2 * kPad;
    const Table table = layOutTable(sheet, p.device(), page.width());
    const double tableWidth = std::accumulate(table.widths.begin(), table.widths.end(), 0.0);

    // The first page's head is drawn first: where it ends decides how many rows that page holds. The
    // pages are all worked out before the table is drawn, so that each can say how many there are.
    const double firstTop = drawFirstPageHead(p, sheet, chart, page);
    p.setFont(sized(kBodyPixels, true));
    const double laterTop = p.fontMetrics().height() + 2 * kPad;
    const std::vector<Span> pages = paginate(table, firstTop, laterTop, page.height() - footer);

    for (std::size_t n = 0; n < pages.size(); ++n) {
        if (n > 0)
            printer.newPage();
        double y = n == 0 ? firstTop : drawLaterPageHead(p, sheet, page);
        drawRow(p, table, 0, false, y, tableWidth);
        y += table.heights[0];
        for (std::size_t i = pages[n].from; i < pages[n].to; ++i) {
            drawRow(p, table, i, sheet.rows[i - 1].current, y, tableWidth);
            y += table.heights[i];
        }
        p.setFont(sized(kBodyPixels));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, page.height() - footer + kPad, page.width(), footer - kPad), Qt::AlignRight,
                   QStringLiteral("Page %1 of %2").arg(n + 1).arg(pages.size()));
    }
    p.end();
    return int(pages.size());
}

} // namespace vorn
