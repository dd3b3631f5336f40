// Writing and printing the analysis window's report.
#include "analysis_window/report_export.h"

#include "analysis_report/report_html.h"
#include "analysis_window/qt_text.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

namespace analysis_window {
namespace {

// Figures drawn at three times their size, sharp on paper at the printer's resolution.
constexpr int FigureScale = 3;
constexpr double LayoutDpi = 96;

QImage DrawnFigure(const std::string& svg) {
    QByteArray bytes = QByteArray::fromStdString(svg);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "svg");
    const QSize size = reader.size();
    if (size.isEmpty()) {
        return {};
    }
    reader.setScaledSize(size * FigureScale);
    reader.setBackgroundColor(Qt::white);
    QImage image = reader.read();
    image.setDevicePixelRatio(FigureScale);
    return image;
}

} // namespace

std::optional<DocumentKind> DocumentKindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"html" || suffix == u"htm") {
        return DocumentKind::Html;
    }
    if (suffix == u"csv") {
        return DocumentKind::Csv;
    }
    return std::nullopt;
}

QString PathWithSuffix(const QString& path, const QString& chosenFilter) {
    if (path.isEmpty() || DocumentKindOf(path)) {
        return path;
    }
    return path + (chosenFilter == QLatin1String(CsvFilter) ? QStringLiteral(".csv")
                                                            : QStringLiteral(".html"));
}

bool WriteDocumentFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto size = qint64(bytes.size());
    return file.write(bytes.data(), size) == size && file.commit();
}

void PrintDocument(QPrinter& printer, const std::string& html,
                   const std::vector<std::string>& figures) {
    // The sizes the document gives in pixels (figures, cell padding) are of a 96 dpi device,
    // whatever the screen's density.
    QImage layoutDevice(1, 1, QImage::Format_RGB32);
    layoutDevice.setDotsPerMeterX(qRound(LayoutDpi / 0.0254));
    layoutDevice.setDotsPerMeterY(qRound(LayoutDpi / 0.0254));
    QTextDocument document;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        document.addResource(QTextDocument::ImageResource,
                             QUrl(ToQString(analysis_report::FigureName(i))),
                             DrawnFigure(figures[i]));
    }
    document.documentLayout()->setPaintDevice(&layoutDevice);
    document.setHtml(ToQString(html));
    // Pages of the printer's printable area, in pixels of the 96 dpi device the document is laid
    // out on: the type keeps its size in points, and print() scales each page onto the paper.
    document.setDocumentMargin(0);
    document.setPageSize(printer.pageLayout().paintRect(QPageLayout::Inch).size() * LayoutDpi);
    document.print(&printer);
}

} // namespace analysis_window
