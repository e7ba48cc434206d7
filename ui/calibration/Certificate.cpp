#include "ui/calibration/Certificate.h"

#include "calibration/CalibrationFile.h"

#include <QChart>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// Laid out at this size, drawn at twice it for print.
constexpr int kChartWidth = 640, kChartHeight = 290;

QString Esc(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }
QString Num(double value, int decimals) { return QString::number(value, 'f', decimals); }

// The error a point is judged by: the larger of the two, with its sign.
double WorstError(const CalPoint& p)
{
    return std::fabs(p.pvErrorPct) >= std::fabs(p.maErrorPct) ? p.pvErrorPct : p.maErrorPct;
}

QString Row(const QStringList& cells, const QString& tag = "td")
{
    QString html = "<tr>";
    for (const QString& cell : cells)
        html += "<" + tag + ">" + cell + "</" + tag + ">";
    return html + "</tr>";
}

QString VerdictCell(bool pass, const QString& text)
{
    return QString("<td bgcolor='%1'><b>%2</b></td>").arg(pass ? "#c8f0c8" : "#f6c0c0", text);
}

QString RunHtml(const CalRun& run, const DeviceSetting& device)
{
    const QString title = run.kind == "as-left" ? "As-left" : "As-found";
    QString html = QString("<h3>%1: <span style='color:%2'>%3</span></h3>")
                       .arg(title, run.Passed() ? "#107010" : "#b01010", Verdict(run));
    html += QString("<p>Started %1; tolerance &plusmn;%2 % of span; %3 read(s) per point; %4 of %5 points done; "
                    "reference and PV in %6.")
                .arg(Esc(run.started), QString::number(run.tolerancePct), QString::number(run.reads))
                .arg(run.DoneCount())
                .arg(run.points.size())
                .arg(Esc(device.unit));
    if (!run.failure.empty())
        html += " Stopped: " + Esc(run.failure) + ".";
    html += "</p><table border='1' cellspacing='0' cellpadding='3' width='100%'>";
    html += Row({"Target %", "Direction", "Reference", "PV", "mA", "PV error %", "mA error %", "Result"}, "th");
    for (const CalPoint& p : run.points) {
        QStringList cells = {QString::number(p.targetPct), p.down ? "down" : "up"};
        if (p.state != CalPoint::State::Done) {
            const char* state = p.state == CalPoint::State::Skipped  ? "skipped"
                                : p.state == CalPoint::State::Failed ? "failed"
                                                                     : "not done";
            html += Row(cells + QStringList{"", "", "", "", "", state});
            continue;
        }
        cells << Num(p.reference, 4) << Num(p.pv, 4) << Num(p.ma, 4) << Num(p.pvErrorPct, 3) << Num(p.maErrorPct, 3);
        html +=
            "<tr><td>" + cells.join("</td><td>") + "</td>" + VerdictCell(p.pass, p.pass ? "pass" : "FAIL") + "</tr>";
    }
    return html + "</table>";
}

// The larger of the PV and current errors of every point done, against the
// target, with the tolerance band of the last run.
QImage ErrorChart(const Calibration& c)
{
    auto* chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->setTitle("Error per point (larger of PV and mA error, % of span)");
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* x = new QValueAxis;
    x->setTitleText("Target (% of span)");
    x->setLabelFormat("%g");
    auto* y = new QValueAxis;
    y->setTitleText("Error (% of span)");
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    double low = 0, high = 100, limit = 0;
    const auto add = [&](QLineSeries* series) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    };
    for (const CalRun* run : {c.asFound ? &*c.asFound : nullptr, c.asLeft ? &*c.asLeft : nullptr}) {
        if (!run)
            continue;
        auto* line = new QLineSeries;
        line->setName(run->kind == "as-left" ? "As-left" : "As-found");
        line->setPointsVisible(true);
        line->setPen(QPen(run->kind == "as-left" ? QColor(0x1f, 0x77, 0xb4) : QColor(0xe0, 0x7b, 0x10), 3));
        for (const CalPoint& p : run->points) {
            low = std::min(low, p.targetPct);
            high = std::max(high, p.targetPct);
            if (p.state != CalPoint::State::Done)
                continue;
            line->append(p.targetPct, WorstError(p));
            limit = std::max(limit, std::fabs(WorstError(p)));
        }
        add(line);
        limit = std::max(limit, run->tolerancePct);
    }
    const CalRun* last = c.asLeft ? &*c.asLeft : c.asFound ? &*c.asFound : nullptr;
    for (int sign : {1, -1}) {
        if (!last)
            break;
        auto* band = new QLineSeries;
        band->setName(sign > 0 ? "Tolerance" : "");
        band->setPen(QPen(QColor(0xb0, 0x10, 0x10), 2, Qt::DashLine));
        band->append(low, sign * last->tolerancePct);
        band->append(high, sign * last->tolerancePct);
        add(band);
    }
    // The minus band's empty name would still take a legend entry.
    if (const auto series = chart->series(); last && !series.isEmpty())
        chart->legend()->markers(series.last()).first()->setVisible(false);
    x->setRange(low, high);
    const double span = limit > 0 ? limit * 1.25 : 1;
    y->setRange(-span, span);
    y->applyNiceNumbers();

    QGraphicsScene scene;
    scene.addItem(chart);  // the scene owns the chart
    chart->setGeometry(0, 0, kChartWidth, kChartHeight);
    QImage image(2 * kChartWidth, 2 * kChartHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(image.rect()), QRectF(0, 0, kChartWidth, kChartHeight));
    return image;
}

// Two name and value pairs a line, to keep the certificate to two pages.
QString Fields(const QList<std::pair<QString, QString>>& fields)
{
    QString html = "<table cellpadding='2' width='100%'>";
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        html += "<tr>";
        for (qsizetype j = i; j < i + 2; ++j)
            html += j < fields.size() ? "<td width='21%'><b>" + fields[j].first + "</b></td><td width='29%'>" +
                                            fields[j].second + "</td>"
                                      : "<td colspan='2'>&nbsp;</td>";
        html += "</tr>";
    }
    return html + "</table>";
}

QString CertificateHtml(const Calibration& c)
{
    const DeviceSetting& d = c.device;
    QString html = "<html><body style='font-size:9pt'><h1>Calibration certificate</h1>";
    QList<std::pair<QString, QString>> top = {{"Date", Esc(c.date)}, {"Technician", Esc(c.technician)}};
    for (const CalRun* run : {c.asFound ? &*c.asFound : nullptr, c.asLeft ? &*c.asLeft : nullptr})
        if (run)
            top.append({run->kind == "as-left" ? "As-left started" : "As-found started", Esc(run->started)});
    html += Fields(top);
    html += "<h3>Device</h3>" +
            Fields({{"Manufacturer", Esc(d.manufacturer)},
                    {"Range", QString("%1 to %2 %3").arg(d.lowerRange).arg(d.upperRange).arg(Esc(d.unit))},
                    {"Device type", Esc(d.deviceType)},
                    {"Damping", QString("%1 s").arg(d.damping)},
                    {"Device ID", QString::number(d.deviceId)},
                    {"Transfer function", Esc(d.transferFunction)},
                    {"Tag", Esc(d.tag)},
                    {"Descriptor", Esc(d.descriptor)}});
    html += "<h3>Reference instrument</h3>" + Fields({{"Model", Esc(c.reference.model)},
                                                      {"Serial number", Esc(c.reference.serial)},
                                                      {"Calibration due", Esc(c.reference.dueDate)}});
    for (const CalRun* run : {c.asFound ? &*c.asFound : nullptr, c.asLeft ? &*c.asLeft : nullptr})
        if (run)
            html += RunHtml(*run, d);
    html += "<p align='center'><img src='chart.png' width='640'></p>";
    const CalRun* last = c.asLeft ? &*c.asLeft : c.asFound ? &*c.asFound : nullptr;
    html += QString("<h2>Result: <span style='color:%1'>%2</span></h2>")
                .arg(last && last->Passed() ? "#107010" : "#b01010", OverallVerdict(c));
    if (!c.notes.empty())
        html += "<p><b>Notes:</b> " + Esc(c.notes).replace("\n", "<br>") + "</p>";
    html += "<br><table width='100%' cellpadding='6'>";
    for (const char* who : {"Technician", "Reviewer"})
        html += QString("<tr><td width='60%'>%1: ______________________________</td>"
                        "<td>Date: ________________</td></tr>")
                    .arg(who);
    return html + "</table></body></html>";
}

void WritePdf(const Calibration& c, QSaveFile& file)
{
    QPdfWriter writer(&file);
    // QTextDocument::print keeps 2 cm margins of its own.
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setResolution(300);
    writer.setTitle("Calibration certificate " + QString::fromStdString(c.device.tag));
    writer.setCreator("Tamsel");
    QTextDocument document;
    document.addResource(QTextDocument::ImageResource, QUrl("chart.png"), ErrorChart(c));
    document.setHtml(CertificateHtml(c));
    document.print(&writer);
}

}  // namespace

QString Verdict(const CalRun& run) { return run.Passed() ? "PASS" : "FAIL"; }

QString OverallVerdict(const Calibration& c)
{
    if (c.asLeft)
        return Verdict(*c.asLeft) + " (as-left)";
    return c.asFound ? Verdict(*c.asFound) + " (as-found)" : "no run";
}

bool WriteCertificate(const Calibration& calibration, const QString& path, QString& error)
{
    // Written whole or not at all, as the calibration files are.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (path.endsWith(".pdf", Qt::CaseInsensitive)) {
        WritePdf(calibration, file);
    } else {
        const std::string csv = ToCsv(calibration);
        file.write(csv.data(), qint64(csv.size()));
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
