#pragma once

#include "demo/Sema.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

// The rows of one table, written in the order given.
class SatirEkleyici
{
public:
    virtual ~SatirEkleyici() = default;
    // Values in the columns' order: QString, int, double, bool, QDateTime, or QVariant() for NULL.
    virtual void Ekle(const QVector<QVariant> &degerler) = 0;
    // Writes what is still held back; the identities of the rows can be read afterwards.
    virtual void Bitir() = 0;
};

// Where the demo generator writes its databases, one after the other. The generator decides
// the rows; a writer only knows how its backend takes them. Failures throw Hata.
class DemoYazici
{
public:
    virtual ~DemoYazici() = default;
    // Before anything is written: refuses a back-office already there unless `uzerineYaz`,
    // and then clears the way for the databases and logins named.
    virtual void Hazirla(const QStringList &veritabanlari, const QStringList &girisler, bool uzerineYaz) = 0;
    // A demo user's login (its name and password are the program's user name and password).
    virtual void GirisKur(const QString &kullanici, const QString &sifre) = 0;
    // A new database with the schema; the rows that follow go into it. The logins named may
    // read and write it.
    virtual void VeritabaniOlustur(const QString &ad, const SemaTanimi &sema, const QStringList &kullanicilar) = 0;
    virtual std::unique_ptr<SatirEkleyici> Ekleyici(const QString &tablo, const QStringList &sutunlar) = 0;
    // A two-column result, key text to identity: the ids the database gave rows just written.
    virtual QHash<QString, qint64> Kimlikler(const QString &sql) = 0;
    // Commits the current database.
    virtual void VeritabaniBitir() = 0;
};
