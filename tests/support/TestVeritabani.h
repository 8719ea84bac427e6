#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

// Back-office databases in the demo's schema for one test, on the backend the run chose:
//  - SQLite (the default): files in a temporary folder;
//  - SQL Server when $STOKTRANSFER_TEST_BACKEND is "mssql": the databases of the server named
//    by $STOKTRANSFER_TEST_MSSQL ("host,port;user;password", an administrator login), or of a
//    free one of $STOKTRANSFER_TEST_MSSQL_2, _3, ... Each test drops and recreates the
//    databases it uses.
// Values read back come alike from both: dates as 'yyyy-MM-dd HH:mm:ss' text, bits as 0/1,
// decimals as double.
class TestVeritabani
{
public:
    TestVeritabani();
    TestVeritabani(const TestVeritabani &) = delete;
    TestVeritabani &operator=(const TestVeritabani &) = delete;

    static bool SqlServerMi();
    // The T-SQL test server (not a real SQL Server), for the checks where it differs from
    // SQL Server's documentation.
    static bool TestSunucusuMu();
    // What a server needs before the demo's logins can be made there: the test server refuses
    // their CHECK_POLICY unless told to let it pass (a real SQL Server never runs the branch).
    static QString SunucuHazirligi();
    // The server text the program is given: the folder, or the SQL Server's "host,port".
    QString Server() const;
    // A temporary folder for the test's own files (transfer files, copies) on either backend.
    QString Klasor() const { return m_klasor.path(); }
    // The file of a database (SQLite only).
    QString Yol(const QString &veritabani) const;
    // How a connection error names a database: its file on SQLite, its name on SQL Server.
    QString VeritabaniMetni(const QString &veritabani) const;

    // The whole demo back-office (small), replacing what is there.
    void DemoYaz(int kartSayisi = 60, int fiyatSayisi = 4);
    // What follows "demo" on stoktransfer-cli's command line to write the demo here, and the
    // password it reads from STOKTRANSFER_PASSWORD.
    QStringList DemoArgumanlari() const;
    QString DemoSifresi() const;
    // An empty company database with the schema only, replacing one of that name.
    void BosFirmaYaz(const QString &veritabani);
    // Removes a database, if it is there.
    void Sil(const QString &veritabani);
    // A copy of a company database under another name (its rows and identities).
    void Kopyala(const QString &kaynak, const QString &hedef);
    // The rows of a company database put back from such a copy, the database itself kept
    // (SQL Server only; connections to it stay usable).
    void SatirlariGeriYukle(const QString &kaynak, const QString &hedef);

    // Statements straight on a database (test set-up, not the system's path).
    void Calistir(const QString &veritabani, const QString &sql);
    // A statement with one "?" that stands for a text stored exactly as given (no NUL).
    void CalistirDegerle(const QString &veritabani, const QString &sql, const QString &metin);
    QVariant Deger(const QString &veritabani, const QString &sql);
    QVector<QVector<QVariant>> Satirlar(const QString &veritabani, const QString &sql, QStringList *sutunlar = nullptr);

    // Connects the shared connection to one database, as the company choice leaves it: as the
    // administrator, or as the login given (SQL Server; the embedded backend has no logins).
    void Baglan(const QString &veritabani);
    void Baglan(const QString &veritabani, const QString &kullanici, const QString &sifre);
    // A connection of the test's own to a database, as another program would hold one
    // (QSqlDatabase connection name `ad`; the caller removes it).
    QSqlDatabase AyriBaglanti(const QString &veritabani, const QString &ad);
    // Whether the shared connection stands on that database.
    bool BagliMi(const QString &veritabani) const;

    // A login for a user the test adds to sysuslng, allowed into the databases named (SQL
    // Server: the user name and password are the server login; nothing on the embedded backend).
    void GirisEkle(const QString &kullanici, const QString &sifre, const QStringList &veritabanlari);

    // Pieces of statements that the two dialects write differently.
    QString Birlestir(const QStringList &parcalar) const; // text concatenation
    // A trigger that refuses the statement `olay` (INSERT or UPDATE) on `tablo` with `mesaj`
    // when a written row meets `kosul` (a condition on the row, written NEW.column).
    // `islemiBitirir`: the error ends the whole transaction on SQLite too, as a trigger's error
    // does on SQL Server anyway.
    void ReddedenTetikleyici(const QString &veritabani, const QString &ad, const QString &tablo, const QString &olay,
                             const QString &kosul, const QString &mesaj, bool islemiBitirir = false);
    void SutunAdiniDegistir(const QString &veritabani, const QString &tablo, const QString &eski, const QString &yeni);

    struct Sunucu {
        QString server, kullanici, sifre;
    };

private:
    static Sunucu SqlServer();
    // The administrator's connection of the helpers: one per test program, since a new ODBC
    // connection costs the test server half a second.
    static QString YoneticiBaglantisi();
    static QSqlDatabase Yonetici();
    // An open ODBC connection of the administrator to a database of the server.
    static QSqlDatabase SunucuBaglantisi(const QString &veritabani, const QString &ad);
    // Runs a statement on a database (`metin` bound to its "?") and reads what it returns.
    QVector<QVector<QVariant>> Yurut(const QString &veritabani, const QString &sql, const QString *metin,
                                     QStringList *sutunlar) const;

    QTemporaryDir m_klasor;
};

// Ends a test on the T-SQL test server at a check where that server, not the product, differs
// from SQL Server's documentation.
#define TEST_SUNUCUSU_FARKI(neden)                                                                        \
    do {                                                                                                  \
        if (TestVeritabani::TestSunucusuMu())                                                             \
            QSKIP("test server: " neden);                                                                 \
    } while (false)
