#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <optional>

// The lines of a transfer file as bytes, read once from start to end in time linear in the
// file's size and memory bounded by the longest line accepted. A line ends at CR or at CRLF;
// a bare LF belongs to the line.
class SatirOkuyucu
{
public:
    static constexpr qsizetype EnUzunSatir = 1 << 20;

    // Opens a regular file at once: a FIFO, a device or a folder is refused without waiting
    // for a writer. Throws Hata.
    explicit SatirOkuyucu(const QString &yol);

    // Why the file is not Windows-1254 text (a UTF-8 byte-order mark, UTF-16, valid UTF-8 with
    // multi-byte sequences), or an empty text. Reads from the start as far as it must and
    // leaves the reader at the start.
    QString YabanciKodlama();

    // The next line's bytes without its end, valid until the next read; nothing at the end of
    // the file. Throws Hata for a line longer than EnUzunSatir or a read error.
    std::optional<QByteArrayView> Satir();
    // The number of the line last read, from 1.
    qint64 SatirNo() const { return m_satirNo; }

    struct Yer {
        qint64 konum = 0;
        qint64 satirNo = 0;
    };
    // Where the next line starts, to come back to it.
    Yer Konum() const { return {m_dosyaKonumu - (m_son - m_bas), m_satirNo}; }
    void KonumaGit(const Yer &yer); // throws Hata

private:
    bool Doldur(); // false at the end of the file
    [[noreturn]] void OkumaHatasi() const;

    QFile m_dosya;
    QByteArray m_tampon;
    qsizetype m_bas = 0;     // start of the unread bytes
    qsizetype m_son = 0;     // end of the bytes read into the buffer
    qsizetype m_tarandi = 0; // CR searched for up to here
    qint64 m_dosyaKonumu = 0; // file offset of m_tampon[m_son]
    qint64 m_satirNo = 0;
    bool m_dosyaBitti = false;
};
