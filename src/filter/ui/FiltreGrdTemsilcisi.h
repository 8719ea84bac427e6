#pragma once

#include <QItemSelectionModel>
#include <QStyledItemDelegate>

class FiltreTablosu;

// The cell editor of the criteria grid: a drop-down of exactly the row's option list (a
// chosen item commits at once, its first tab column goes into the cell), or free text when
// the list is empty. Typing in the "Tarih" row goes through the date-entry check.
class FiltreGrdTemsilcisi : public QStyledItemDelegate
{
    Q_OBJECT
public:
    FiltreGrdTemsilcisi(FiltreTablosu &tablo, QObject *ust = nullptr);

    QWidget *createEditor(QWidget *ust, const QStyleOptionViewItem &secenek, const QModelIndex &indeks) const override;
    void setEditorData(QWidget *editor, const QModelIndex &indeks) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &indeks) const override;

private:
    FiltreTablosu &m_tablo;
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
