#pragma once

#include <QHash>
#include <QString>

class TestVeritabani;

// Every card of a company database as one text per Stok_Kod: its card row (without the id)
// and its price rows in level order (without ids). Two states of a card compare equal
// exactly when the card and all its prices are the same.
QHash<QString, QString> KartDurumlari(TestVeritabani &db, const QString &veritabani);
