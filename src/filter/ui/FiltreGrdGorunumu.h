#pragma once

#include <QTableView>

class FiltreTablosu;

// The criteria grid as the operator works it. Arrow keys only move between cells: a move
// opens no editor, so no drop-down can take an arrow key for a new choice. A value cell is
// edited after a click or by typing; a row with an option list opens its list on a click, F4,
// Alt+Down or typing, and only an item picked there changes the value. Tab leaves the grid.
class FiltreGrdGorunumu : public QTableView
{
    Q_OBJECT
public:
    explicit FiltreGrdGorunumu(FiltreTablosu &tablo, QWidget *ust = nullptr);

    // Opens the editor of the current value cell; a row with an option list shows its list,
    // the first item starting with `aranan` marked. False when the cell cannot be edited.
    bool HucreyiAc(const QModelIndex &indeks, const QString &aranan = QString());
    // Ends an open cell editor before a command reads or writes the grid: typed text is
    // kept, a list keeps its value unless an item was picked.
    void DuzenlemeyiBitir();

protected:
    void keyPressEvent(QKeyEvent *olay) override;

private:
    FiltreTablosu &m_tablo;
};
