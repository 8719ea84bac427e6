#pragma once

#include <QIdentityProxyModel>
#include <QString>
#include <optional>

class QWidget;

// The file dialog of the transfer commands: Qt's own dialog on every desktop (so that it
// speaks Turkish with the program's translation), large enough for its columns, sizes and
// dates in the Turkish form. The chosen path, or nothing when the operator cancelled.
// `suzgec`: the kinds of file offered ("CSV Dosyaları (*.csv)"), every file when empty.
std::optional<QString> TransferDosyasiSec(QWidget *ust, const QString &onerilen, bool kaydet,
                                          const QString &suzgec = QString());

// The dialog's files with their size, kind and date written the Turkish way ("12,5 kB",
// "Klasör", "25.12.2024 14:30"); the file system model writes them in the system's language.
class TurkceDosyaModeli : public QIdentityProxyModel
{
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &indeks, int rol = Qt::DisplayRole) const override;
};
