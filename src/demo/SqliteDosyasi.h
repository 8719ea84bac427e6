#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

struct sqlite3;
struct sqlite3_stmt;

// A new SQLite file written straight through the C library: the demo generator fills
// databases of a million rows, which bound statements of the C API do in seconds.
class SqliteDosyasi
{
public:
    explicit SqliteDosyasi(const QString &yol); // replaces an existing file; throws Hata
    ~SqliteDosyasi();
    SqliteDosyasi(const SqliteDosyasi &) = delete;
    SqliteDosyasi &operator=(const SqliteDosyasi &) = delete;

    void Calistir(const QString &sql);
    // A two-column result (text, integer) as a map from the text to the integer.
    QHash<QString, qint64> AnahtarKimlikleri(const QString &sql);

    class Komut
    {
    public:
        Komut(sqlite3 *db, const QString &sql);
        ~Komut();
        Komut(const Komut &) = delete;
        Komut &operator=(const Komut &) = delete;
        // Binds the values in order (QVariant() for NULL, a QDateTime as the stored date text)
        // and runs the statement.
        void Yurut(const QVector<QVariant> &degerler);
        qint64 SonEklenen() const;

    private:
        sqlite3 *m_db;
        sqlite3_stmt *m_st = nullptr;
    };

    Komut Hazirla(const QString &sql) { return Komut(m_db, sql); }

private:
    sqlite3 *m_db = nullptr;
};
