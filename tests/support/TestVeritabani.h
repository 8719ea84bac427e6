#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

// Back-office databases in a temporary folder, in the demo's schema.
class TestVeritabani
{
public:
    TestVeritabani();
    QString Klasor() const { return m_klasor.path(); }
    QString Yol(const QString &veritabani) const;

    // The whole demo back-office (small).
    void DemoYaz(int kartSayisi = 60, int fiyatSayisi = 4);
    // An empty company database with the schema only.
    void BosFirmaYaz(const QString &veritabani);
    // Runs statements straight on a database file (test set-up, not the system's path).
    void Calistir(const QString &veritabani, const QString &sql);
    QVariant Deger(const QString &veritabani, const QString &sql);
    QVector<QVector<QVariant>> Satirlar(const QString &veritabani, const QString &sql, QStringList *sutunlar = nullptr);

    // Connects the shared connection to one database, as the company choice leaves it.
    void Baglan(const QString &veritabani);

private:
    QTemporaryDir m_klasor;
};
