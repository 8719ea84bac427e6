#pragma once

#include "demo/DemoYazici.h"
#include "demo/SqliteDosyasi.h"

#include <QDir>

// The demo into a folder: every database NAME is the file FOLDER/NAME.sqlite.
class SqliteDemoYazici : public DemoYazici
{
public:
    explicit SqliteDemoYazici(const QString &klasor); // creates the folder; throws Hata

    void Hazirla(const QStringList &veritabanlari, const QStringList &girisler, bool uzerineYaz) override;
    void GirisKur(const QString &, const QString &) override {} // the user table decides
    void VeritabaniOlustur(const QString &ad, const SemaTanimi &sema, const QStringList &kullanicilar) override;
    std::unique_ptr<SatirEkleyici> Ekleyici(const QString &tablo, const QStringList &sutunlar) override;
    QHash<QString, qint64> Kimlikler(const QString &sql) override;
    void VeritabaniBitir() override;

private:
    SqliteDosyasi &Db();

    QDir m_klasor;
    std::unique_ptr<SqliteDosyasi> m_db;
};
