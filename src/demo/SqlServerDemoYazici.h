#pragma once

#include "demo/DemoYazici.h"

#include <QSqlDatabase>

// The demo on a SQL Server, written through an administrator login: a database each, a
// login per demo user with read and write rights in its databases, rows sent as multi-row
// INSERTs inside one transaction per database.
class SqlServerDemoYazici : public DemoYazici
{
public:
    // Connects to "master"; throws Hata with the driver's description when it cannot.
    SqlServerDemoYazici(const QString &server, const QString &kullanici, const QString &sifre);
    // Through a connection already open as an administrator (QSqlDatabase's connection name),
    // which stays open afterwards.
    explicit SqlServerDemoYazici(const QString &baglantiAdi);
    ~SqlServerDemoYazici() override;

    void Hazirla(const QStringList &veritabanlari, const QStringList &girisler, bool uzerineYaz) override;
    void GirisKur(const QString &kullanici, const QString &sifre) override;
    void VeritabaniOlustur(const QString &ad, const SemaTanimi &sema, const QStringList &kullanicilar) override;
    std::unique_ptr<SatirEkleyici> Ekleyici(const QString &tablo, const QStringList &sutunlar) override;
    QHash<QString, qint64> Kimlikler(const QString &sql) override;
    void VeritabaniBitir() override;

    // Drops a database, sending its other connections away first.
    void VeritabaniSil(const QString &ad);
    void Calistir(const QString &sql);

    // A value as a T-SQL literal: N'...' texts, ISO 8601 dates (read alike under every
    // language setting), numbers in their shortest exact form.
    static QString Deger(const QVariant &deger);
    // A name in brackets.
    static QString Ad(const QString &ad);

private:
    QStringList Adlar(const QString &sql);

    QString m_baglanti;
    bool m_sahip = true;
};
