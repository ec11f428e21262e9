#include "draw_speed_report.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace inkrelay::speed {

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Ratio(const std::optional<double>& r) {
    return r ? Format("%.2f", *r) : "–";
}

std::string CanvasNote(const Measurement& m) {
    if (m.Wrong == 0)
        return "exact";
    return m.Wrong < 0 ? "not read" : std::to_string(m.Wrong) + " wrong";
}

bool Harness(Variant v) {
    return v == Variant::HarnessOff || v == Variant::HarnessOn || v == Variant::HarnessPerEvent;
}

double XCallSeconds(const HarnessTallies& t) {
    return t.Moves.Seconds + t.Buttons.Seconds + t.EscapePolls.Seconds + t.PixelReads.Seconds +
           t.RegionReads.Seconds;
}

int64_t XCalls(const HarnessTallies& t) {
    return t.Moves.Calls + t.Buttons.Calls + t.EscapePolls.Calls + t.PixelReads.Calls +
           t.RegionReads.Calls;
}

// A canvas that never ended exact has no time to it: its bar shows the run's own end.
double PlottedRate(const Row& row) {
    if (row.Result.Wrong == 0)
        return row.EventsPerSecond();
    return row.Result.Seconds > 0 ? row.Events / row.Result.Seconds : 0;
}

std::string Note(const Row& row) {
    std::string note;
    if (row.Result.Capped)
        note += ", first " + std::to_string(row.Events) + " events";
    if (row.Result.ErrorLines > 0)
        note += ", failed checks: " + std::to_string(row.Result.ErrorLines);
    if (row.Result.Wrong != 0)
        note += row.Result.Wrong < 0 ? ", canvas not compared" : ", canvas not exact";
    return note;
}

}  // namespace

std::string VariantName(Variant v) {
    switch (v) {
        case Variant::Raw: return "raw XTest (limit)";
        case Variant::CheckOff: return "inkrelay, Check off";
        case Variant::CheckOn: return "inkrelay, Check on";
        case Variant::HarnessOff: return "harness, check off";
        case Variant::HarnessOn: return "harness, check on";
        case Variant::HarnessPerEvent: return "harness, per-event check";
    }
    return "?";
}

const Row* Find(const std::vector<Row>& rows, const Row& like, Variant kind) {
    for (const Row& row : rows)
        if (row.Kind == kind && row.Applet == like.Applet && row.CaseName == like.CaseName)
            return &row;
    return nullptr;
}

std::optional<double> RateToRaw(const std::vector<Row>& rows, const Row& row) {
    const Row* raw = Find(rows, row, Variant::Raw);
    if (raw == nullptr || raw->Result.Wrong != 0 || row.Result.Wrong != 0 ||
        raw->EventsPerSecond() <= 0)
        return std::nullopt;
    return row.EventsPerSecond() / raw->EventsPerSecond();
}

std::optional<double> TimeToCheckOff(const std::vector<Row>& rows, const Row& row) {
    if (row.Kind == Variant::Raw)
        return std::nullopt;
    const Row* off = Find(rows, row, Harness(row.Kind) ? Variant::HarnessOff : Variant::CheckOff);
    if (off == nullptr || off->Result.Wrong != 0 || row.Result.Wrong != 0 ||
        off->EventsPerSecond() <= 0 || row.EventsPerSecond() <= 0)
        return std::nullopt;
    return off->EventsPerSecond() / row.EventsPerSecond();
}

std::string ResultTable(const std::vector<Row>& rows) {
    std::string out =
        "| applet | list | events | run | to exact canvas (s) | events/s | X events/s | "
        "÷ raw rate | time ÷ check-off time | run's end (s) | failed checks |\n"
        "|---:|---|---:|---|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const Row& row : rows) {
        out += "| " + std::to_string(row.Applet) + " | " + row.CaseName + " | " +
               std::to_string(row.Events) + (row.Result.Capped ? " (stopped)" : "") + " | " +
               VariantName(row.Kind) + " | " +
               (row.Result.Wrong == 0 ? Format("%.2f", row.Seconds()) : CanvasNote(row.Result)) +
               " | " + Format("%.0f", row.EventsPerSecond()) + " | " +
               (row.Result.XEvents > 0 && row.Seconds() > 0
                    ? Format("%.0f", static_cast<double>(row.Result.XEvents) / row.Seconds())
                    : "–") +
               " | " + (row.Kind == Variant::Raw ? "1" : Ratio(RateToRaw(rows, row))) + " | " +
               Ratio(TimeToCheckOff(rows, row)) + " | " +
               (row.Kind == Variant::Raw ? "–" : Format("%.2f", row.Result.Seconds)) + " | " +
               (row.Kind == Variant::Raw ? "–" : std::to_string(row.Result.ErrorLines)) + " |\n";
    }
    std::string notes;
    for (const Row& row : rows)
        if (!row.Result.Note.empty())
            notes += "- applet " + std::to_string(row.Applet) + ", " + row.CaseName + ", " +
                     VariantName(row.Kind) + ": " + row.Result.Note + "\n";
    return notes.empty() ? out : out + "\n" + notes;
}

std::string HarnessTable(const std::vector<Row>& rows) {
    std::string out =
        "| applet | list | run | time (s) | moves | buttons | Esc polls | pixel reads | "
        "region reads | yields | µs per X call | in X calls | in yields | rest |\n"
        "|---:|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const Row& row : rows) {
        if (!Harness(row.Kind) || row.Events <= 0 || row.Result.Seconds <= 0)
            continue;
        const HarnessTallies& t = row.Result.Tallies;
        const auto per = [&](const Tally& tally) {
            return Format("%.2f", static_cast<double>(tally.Calls) / row.Events);
        };
        const double total = row.Result.Seconds, xTime = XCallSeconds(t);
        const int64_t xCalls = XCalls(t);
        out += "| " + std::to_string(row.Applet) + " | " + row.CaseName + " | " +
               VariantName(row.Kind) + " | " + Format("%.2f", total) + " | " + per(t.Moves) +
               " | " + per(t.Buttons) + " | " + per(t.EscapePolls) + " | " + per(t.PixelReads) +
               " | " + per(t.RegionReads) + " | " + per(t.Yields) + " | " +
               Format("%.1f", xCalls > 0 ? 1e6 * xTime / static_cast<double>(xCalls) : 0) + " | " +
               Format("%.0f %%", 100 * xTime / total) + " | " +
               Format("%.0f %%", 100 * t.Yields.Seconds / total) + " | " +
               Format("%.0f %%", 100 * (total - xTime - t.Yields.Seconds) / total) + " |\n";
    }
    return out + "\nCalls are per draw-list event.\n";
}

void WritePlot(const std::vector<Row>& rows, const std::filesystem::path& path) {
    // Groups in the order the rows came, bars in the order of the variants.
    struct Group {
        const Row* First;
        std::vector<const Row*> Bars;
    };
    std::vector<Group> groups;
    double top = 1;
    for (const Row& row : rows) {
        auto group = std::ranges::find_if(groups, [&](const Group& g) {
            return g.First->Applet == row.Applet && g.First->CaseName == row.CaseName;
        });
        if (group == groups.end())
            group = groups.insert(groups.end(), Group{&row, {}});
        group->Bars.push_back(&row);
        top = std::max(top, PlottedRate(row));
    }
    const std::array<QColor, 6> colours = {QColor(60, 60, 60),    QColor(70, 130, 200),
                                           QColor(230, 140, 40),  QColor(150, 190, 230),
                                           QColor(245, 200, 140), QColor(200, 80, 80)};
    constexpr int BarHeight = 16, Gap = 14, Left = 250, PlotWidth = 640, Margin = 16;
    int height = Margin * 2 + 24 + 16;
    for (const Group& g : groups) height += static_cast<int>(g.Bars.size()) * BarHeight + Gap;
    // A round scale: 1, 2 or 5 times a power of ten per grid step.
    const double raw = top / 8, power = std::pow(10, std::floor(std::log10(raw)));
    const double step = raw / power <= 1   ? power
                        : raw / power <= 2 ? 2 * power
                        : raw / power <= 5 ? 5 * power
                                           : 10 * power;
    const double scaleTop = std::ceil(top / step) * step;
    QImage image(Left + PlotWidth + 420, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    const auto xOf = [&](double value) {
        return Left + static_cast<int>(std::lround(PlotWidth * value / scaleTop));
    };
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(
        QRect(Margin, 4, Left + PlotWidth, 20), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Draw-list events per second to an exact canvas (higher is "
                       "faster); a hatched bar's canvas was not exact or not compared, "
                       "and it is timed to the run's end"));
    const int plotTop = Margin + 24, plotBottom = height - Margin - 16;
    for (double v = 0; v <= scaleTop + step / 2; v += step) {
        painter.setPen(QColor(215, 215, 215));
        painter.drawLine(xOf(v), plotTop - 4, xOf(v), plotBottom);
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(QRect(xOf(v) - 40, plotBottom + 2, 80, 14), Qt::AlignCenter,
                         QString::fromStdString(Format("%.0f", v)));
    }
    int y = plotTop;
    for (const Group& g : groups) {
        painter.setPen(QColor(20, 20, 20));
        painter.drawText(QRect(Margin, y, Left - Margin - 8, BarHeight * 2),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         QString::fromStdString("applet " + std::to_string(g.First->Applet) + ": " +
                                                g.First->CaseName));
        for (const Row* bar : g.Bars) {
            const double rate = PlottedRate(*bar);
            const QRect box(Left, y + 2, std::max(xOf(rate) - Left, 1), BarHeight - 4);
            const QColor colour = colours[static_cast<size_t>(bar->Kind)];
            painter.fillRect(
                box, bar->Result.Wrong == 0 ? QBrush(colour) : QBrush(colour, Qt::BDiagPattern));
            painter.setPen(QColor(20, 20, 20));
            painter.drawText(QRect(box.right() + 4, y, image.width() - box.right() - 8, BarHeight),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(Format("%.0f", rate) + "  " +
                                                    VariantName(bar->Kind) + Note(*bar)));
            y += BarHeight;
        }
        y += Gap;
    }
    painter.end();
    if (!image.save(QString::fromStdString(path.string()), "PNG"))
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace inkrelay::speed
