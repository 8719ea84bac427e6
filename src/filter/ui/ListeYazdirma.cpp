#include "filter/ui/ListeYazdirma.h"

#include <QHeaderView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableView>

namespace {

// Saves the grid's look, puts on the print look, and restores the saved look when it ends.
class YaziciGorunumu
{
public:
    explicit YaziciGorunumu(QTableView &grid)
        : m_grid(grid), m_stil(grid.styleSheet()), m_izgara(grid.gridStyle()),
          m_baslikYazisi(grid.horizontalHeader()->font())
    {
        const QColor cizgi = grid.palette().color(QPalette::Button);
        m_grid.setGridStyle(Qt::SolidLine);
        m_grid.setStyleSheet(QStringLiteral(
            "QTableView { background-color: #FFFFFF; alternate-background-color: #FFFFFF; "
            "selection-background-color: #FFFFFF; gridline-color: %1; } "
            "QHeaderView::section { background-color: #FFFFFF; }").arg(cizgi.name()));
        QFont kalin = m_baslikYazisi;
        kalin.setBold(true);
        m_grid.horizontalHeader()->setFont(kalin);
    }
    ~YaziciGorunumu()
    {
        m_grid.horizontalHeader()->setFont(m_baslikYazisi);
        m_grid.setGridStyle(m_izgara);
        m_grid.setStyleSheet(m_stil);
    }

private:
    QTableView &m_grid;
    QString m_stil;
    Qt::PenStyle m_izgara;
    QFont m_baslikYazisi;
};

void Ciz(QPrinter &yazici, const QTableView &grid)
{
    const QAbstractItemModel *model = grid.model();
    QList<int> sutunlar;
    QHash<int, double> genislikler;
    int toplam = 0;
    for (int c = 0; c < model->columnCount(); ++c)
        if (!grid.isColumnHidden(c)) {
            sutunlar << c;
            genislikler[c] = grid.columnWidth(c);
            toplam += grid.columnWidth(c);
        }
    QPainter kalem(&yazici);
    const QRectF sayfa = yazici.pageLayout().paintRectPixels(yazici.resolution());
    // Grid pixels to printer pixels: as on screen, narrowed to the page when the grid is wider.
    const double olcek = qMin(yazici.resolution() / 96.0, sayfa.width() / qMax(1, toplam));
    kalem.scale(olcek, olcek);
    const double genislik = sayfa.width() / olcek;
    const double yukseklik = sayfa.height() / olcek;
    // The page's spare width goes where the screen puts its own (the name), so that a list
    // shown in a small window does not print cut names.
    for (int c : sutunlar)
        if (genislik > toplam && grid.horizontalHeader()->sectionResizeMode(c) == QHeaderView::Stretch) {
            genislikler[c] += genislik - toplam;
            break;
        }

    QFont yazi = grid.font();
    yazi.setPixelSize(QFontInfo(grid.font()).pixelSize());
    QFont kalin = yazi;
    kalin.setBold(true);
    const int satirBoyu = grid.verticalHeader()->defaultSectionSize();
    const QColor cizgi = grid.palette().color(QPalette::Button);

    auto satirCiz = [&](double y, auto metin, auto hiza, const QFont &f) {
        kalem.setFont(f);
        double x = 0;
        for (int c : sutunlar) {
            const double w = genislikler.value(c);
            kalem.drawText(QRectF(x + 3, y, w - 6, satirBoyu), hiza(c) | Qt::TextSingleLine, metin(c));
            x += w;
        }
        kalem.setPen(cizgi);
        kalem.drawLine(QPointF(0, y + satirBoyu), QPointF(qMin<double>(x, genislik), y + satirBoyu));
        kalem.setPen(Qt::black);
    };
    auto baslik = [&](double y) {
        satirCiz(y, [&](int c) { return model->headerData(c, Qt::Horizontal).toString(); },
                 [&](int c) { return Qt::Alignment(model->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt()); },
                 kalin);
    };

    kalem.fillRect(QRectF(0, 0, genislik, yukseklik), Qt::white);
    kalem.setPen(Qt::black);
    baslik(0);
    double y = satirBoyu;
    for (int r = 0; r < model->rowCount(); ++r) {
        if (y + satirBoyu > yukseklik) {
            yazici.newPage();
            kalem.fillRect(QRectF(0, 0, genislik, yukseklik), Qt::white);
            baslik(0);
            y = satirBoyu;
        }
        satirCiz(y, [&](int c) { return model->index(r, c).data().toString(); },
                 [&](int c) { return Qt::Alignment(model->index(r, c).data(Qt::TextAlignmentRole).toInt()); }, yazi);
        y += satirBoyu;
    }
}

} // namespace

YazdirmaDiyalogu StandartYazdirmaDiyalogu()
{
    return [](QPrinter &yazici) {
        QPrintDialog diyalog(&yazici);
        return diyalog.exec() == QDialog::Accepted;
    };
}

void ListeyiYazdir(QTableView &Fisgrd, const YazdirmaDiyalogu &diyalog)
{
    YaziciGorunumu gorunum(Fisgrd);
    QPrinter yazici(QPrinter::HighResolution);
    yazici.setDocName(QStringLiteral("Ravelko"));
    yazici.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!diyalog(yazici))
        return;
    Ciz(yazici, Fisgrd);
}
