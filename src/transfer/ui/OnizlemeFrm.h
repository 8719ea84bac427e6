#pragma once

#include "transfer/Onizleme.h"

#include <QDialog>

class OnizlemeDetayModeli;
class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// The preview of an import: the target company, the summary, the file's cards with what the
// import would do to each (sortable, filtered by kind) and the selected card's changes.
// Ends with Aktar when the operator starts the real import.
class OnizlemeFrm : public QDialog
{
    Q_OBJECT
public:
    enum Sonuc { Kapat = QDialog::Rejected, Aktar = QDialog::Accepted + 1 };

    explicit OnizlemeFrm(const Onizleme &onizleme, QWidget *ust = nullptr);

    QLabel *FirmaLbl = nullptr;
    QLabel *DosyaLbl = nullptr;
    QLabel *OzetLbl = nullptr;
    QComboBox *TurCmb = nullptr;
    QTableView *KartlarGrd = nullptr;
    QTableView *DetayGrd = nullptr;
    QPushButton *KaydetBtn = nullptr;
    QPushButton *AktarBtn = nullptr;
    QPushButton *KapatBtn = nullptr;

private:
    void TurSec(int secim);
    void KartSecildi();

    const Onizleme &m_onizleme;
    QSortFilterProxyModel *m_suzgec = nullptr;
    OnizlemeDetayModeli *m_detay = nullptr;
};
