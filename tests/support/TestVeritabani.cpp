#include "support/TestVeritabani.h"

#include "demo/DemoOlusturucu.h"
#include "demo/Sema.h"
#include "demo/SqliteDosyasi.h"
#include "state/Degiskenler.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <stdexcept>

TestVeritabani::TestVeritabani()
{
    if (!m_klasor.isValid())
        throw std::runtime_error("temporary folder");
}

QString TestVeritabani::Yol(const QString &veritabani) const
{
    return QDir(Klasor()).filePath(veritabani + QStringLiteral(".sqlite"));
}

void TestVeritabani::DemoYaz(int kartSayisi, int fiyatSayisi)
{
    DemoAyarlari ayarlar;
    ayarlar.kartSayisi = kartSayisi;
    ayarlar.fiyatSayisi = fiyatSayisi;
    DemoOlustur(Klasor(), ayarlar);
}

void TestVeritabani::BosFirmaYaz(const QString &veritabani)
{
    SqliteDosyasi db(Yol(veritabani));
    for (const QString &sql : FirmaSemasi())
        db.Calistir(sql);
}

namespace {
template <typename F>
void DosyadaCalistir(const QString &yol, F &&is)
{
    const QString ad = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ad);
        db.setDatabaseName(yol);
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        is(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(ad);
}
} // namespace

void TestVeritabani::Calistir(const QString &veritabani, const QString &sql)
{
    DosyadaCalistir(Yol(veritabani), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw std::runtime_error((sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
    });
}

QVector<QVector<QVariant>> TestVeritabani::Satirlar(const QString &veritabani, const QString &sql, QStringList *sutunlar)
{
    QVector<QVector<QVariant>> satirlar;
    DosyadaCalistir(Yol(veritabani), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw std::runtime_error((sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
        if (sutunlar) {
            sutunlar->clear();
            for (int i = 0; i < q.record().count(); ++i)
                *sutunlar << q.record().fieldName(i);
        }
        while (q.next()) {
            QVector<QVariant> satir;
            for (int i = 0; i < q.record().count(); ++i)
                satir << q.value(i);
            satirlar << satir;
        }
    });
    return satirlar;
}

QVariant TestVeritabani::Deger(const QString &veritabani, const QString &sql)
{
    const auto satirlar = Satirlar(veritabani, sql);
    return satirlar.isEmpty() || satirlar[0].isEmpty() ? QVariant() : satirlar[0][0];
}

void TestVeritabani::Baglan(const QString &veritabani)
{
    Degiskenler::Baglanti.Ac(QStringLiteral("TORVELA"), QString(), veritabani, Klasor());
}
