#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failure inside a command. The region of the command that catches it turns it
// into the operator message; the description is what the platform would report.
class Hata : public std::exception
{
public:
    // ADO's generic failure number, shown when the database gives none of its own.
    static constexpr qint64 GenelHataNo = -2147467259;

    explicit Hata(QString aciklama, qint64 numara = GenelHataNo)
        : m_aciklama(std::move(aciklama)), m_numara(numara), m_utf8(m_aciklama.toUtf8()) {}

    const QString &Aciklama() const { return m_aciklama; }
    qint64 Numara() const { return m_numara; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_aciklama;
    qint64 m_numara;
    QByteArray m_utf8;
};

// Opening a connection failed. A refused login is told apart from every other
// failure, because only refused logins count as failed attempts.
class BaglantiHatasi : public Hata
{
public:
    // ADO's number for "login failed" (hexadecimal 80040E4D).
    static constexpr qint64 GirisReddedildiNo = -2147217843;

    BaglantiHatasi(QString aciklama, bool girisReddedildi)
        : Hata(std::move(aciklama), girisReddedildi ? GirisReddedildiNo : GenelHataNo),
          m_reddedildi(girisReddedildi) {}

    bool GirisReddedildi() const { return m_reddedildi; }

private:
    bool m_reddedildi;
};
