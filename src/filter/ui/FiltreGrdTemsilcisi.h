#pragma once

#include <QComboBox>
#include <QItemSelectionModel>
#include <QStyledItemDelegate>

class FiltreTablosu;

// The cell editor of the criteria grid: a drop-down of exactly the row's option list (a
// picked item commits at once, its first tab column goes into the cell), or free text when
// the list is empty. Typing in the "Tarih" row goes through the date-entry check. Tab ends
// the edit and leaves the grid.
class FiltreGrdTemsilcisi : public QStyledItemDelegate
{
    Q_OBJECT
public:
    FiltreGrdTemsilcisi(FiltreTablosu &tablo, QObject *ust = nullptr);

    QWidget *createEditor(QWidget *ust, const QStyleOptionViewItem &secenek, const QModelIndex &indeks) const override;
    void setEditorData(QWidget *editor, const QModelIndex &indeks) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &indeks) const override;

protected:
    bool eventFilter(QObject *nesne, QEvent *olay) override;

private:
    FiltreTablosu &m_tablo;
};

// The drop-down of a list cell. By itself it changes nothing: arrow keys and the wheel go
// on to the grid, typing opens the list, and only an item picked in the list counts.
class SecenekKutusu : public QComboBox
{
    Q_OBJECT
public:
    explicit SecenekKutusu(QWidget *ust = nullptr);
    bool Secildi() const { return m_secildi; }
    // Shows the list, the first item starting with `aranan` marked.
    void ListeyiAc(const QString &aranan = QString());

protected:
    void keyPressEvent(QKeyEvent *olay) override;
    void wheelEvent(QWheelEvent *olay) override;

private:
    bool m_secildi = false;
};

// Refuses every move of the current cell out of the value columns: the caption column
// can never become current.
class FiltreSecimModeli : public QItemSelectionModel
{
    Q_OBJECT
public:
    FiltreSecimModeli(FiltreTablosu &tablo);
    void setCurrentIndex(const QModelIndex &indeks, QItemSelectionModel::SelectionFlags komut) override;
    void select(const QModelIndex &indeks, QItemSelectionModel::SelectionFlags komut) override;
    void select(const QItemSelection &secim, QItemSelectionModel::SelectionFlags komut) override;

private:
    bool Kabul(const QModelIndex &indeks) const;
    FiltreTablosu &m_tablo;
};
