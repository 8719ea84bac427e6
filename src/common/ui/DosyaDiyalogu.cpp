#include "common/ui/DosyaDiyalogu.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QTreeView>

namespace {
enum Sutun { Ad = 0, Boyut = 1, Tur = 2, Tarih = 3 };
}

QVariant TurkceDosyaModeli::data(const QModelIndex &indeks, int rol) const
{
    const auto *dosyalar = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (rol != Qt::DisplayRole || !dosyalar || indeks.column() == Ad)
        return QIdentityProxyModel::data(indeks, rol);
    const QModelIndex kaynak = mapToSource(indeks);
    // A file's kind comes in the default locale's language; Qt has no Turkish word for a folder.
    if (indeks.column() == Tur)
        return dosyalar->isDir(kaynak) ? QStringLiteral("Klasör") : QIdentityProxyModel::data(indeks, rol);
    const QLocale turkce(QLocale::Turkish, QLocale::Turkey);
    if (indeks.column() == Tarih)
        return turkce.toString(dosyalar->lastModified(kaynak), QStringLiteral("dd.MM.yyyy HH:mm"));
    if (dosyalar->isDir(kaynak))
        return QString();
    return turkce.formattedDataSize(dosyalar->size(kaynak), 1, QLocale::DataSizeTraditionalFormat);
}

std::optional<QString> TransferDosyasiSec(QWidget *ust, const QString &onerilen, bool kaydet, const QString &suzgec)
{
    QFileDialog diyalog(ust);
    diyalog.setOption(QFileDialog::DontUseNativeDialog, true);
    diyalog.setProxyModel(new TurkceDosyaModeli(&diyalog));
    diyalog.setAcceptMode(kaydet ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Any name may be typed: the commands ask about an existing file, or report a missing one.
    diyalog.setFileMode(QFileDialog::AnyFile);
    diyalog.setOption(QFileDialog::DontConfirmOverwrite, true);
    diyalog.setViewMode(QFileDialog::Detail);
    if (!suzgec.isEmpty()) {
        diyalog.setNameFilter(suzgec);
        diyalog.setDefaultSuffix(QStringLiteral("csv"));
    }
    if (!onerilen.isEmpty())
        diyalog.selectFile(onerilen);

    // Room for long names beside their size, kind and date, within the screen.
    QSize boyut(900, 540);
    if (const QScreen *ekran = ust ? ust->screen() : diyalog.screen())
        boyut = boyut.boundedTo(ekran->availableGeometry().size() * 9 / 10);
    diyalog.resize(boyut);
    if (auto *liste = diyalog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *baslik = liste->header();
        baslik->setStretchLastSection(false);
        baslik->setSectionResizeMode(Ad, QHeaderView::Stretch);
        for (int s : {Boyut, Tur, Tarih})
            baslik->setSectionResizeMode(s, QHeaderView::ResizeToContents);
    }

    if (diyalog.exec() != QDialog::Accepted || diyalog.selectedFiles().isEmpty())
        return std::nullopt;
    return diyalog.selectedFiles().constFirst();
}
