#include "support/KartDurumlari.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <stdexcept>

namespace {
QString Satir(const QSqlQuery &q, int bas, const QStringList &atla)
{
    QStringList s;
    for (int i = bas; i < q.record().count(); ++i) {
        if (atla.contains(q.record().fieldName(i)))
            continue;
        const QVariant d = q.value(i);
        s << (d.isNull() ? QStringLiteral("NULL") : d.toString());
    }
    return s.join(QLatin1Char('|'));
}
} // namespace

QHash<QString, QString> KartDurumlari(const QString &dosya)
{
    QHash<QString, QString> durumlar;
    const QString ad = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ad);
        db.setDatabaseName(dosya);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT Stok_Kod, * FROM STOKKART")))
            throw std::runtime_error(q.lastError().text().toStdString());
        while (q.next())
            durumlar[q.value(0).toString()] = Satir(q, 1, {QStringLiteral("Stok_ID")});
        if (!q.exec(QStringLiteral("SELECT k.Stok_Kod, f.* FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID "
                                   "ORDER BY k.Stok_Kod, f.Fiyat_Sira_No")))
            throw std::runtime_error(q.lastError().text().toStdString());
        while (q.next())
            durumlar[q.value(0).toString()] += QStringLiteral("\n") + Satir(q, 1, {QStringLiteral("Stok_ID"), QStringLiteral("Fiyat_ID")});
        db.close();
    }
    QSqlDatabase::removeDatabase(ad);
    return durumlar;
}
