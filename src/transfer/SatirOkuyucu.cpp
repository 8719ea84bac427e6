#include "transfer/SatirOkuyucu.h"

#include "state/Hata.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype Parca = 64 * 1024;
// Room for a whole line and a read after it, twice over, so that moving the unread bytes to
// the front happens at most once per line's worth of reading.
constexpr qsizetype TamponBoyu = 2 * (SatirOkuyucu::EnUzunSatir + 2 * Parca);

// How far a UTF-8 sequence checker has come: the continuation bytes still expected and the
// range the next one must lie in (overlong forms, surrogates and code points past U+10FFFF
// are not UTF-8).
struct Utf8Durumu {
    int beklenen = 0;
    uchar alt = 0x80, ust = 0xBF;
    bool cokBaytli = false;

    // False at the first byte that cannot stand in UTF-8.
    bool Ekle(uchar b)
    {
        if (beklenen > 0) {
            if (b < alt || b > ust)
                return false;
            alt = 0x80;
            ust = 0xBF;
            --beklenen;
            return true;
        }
        if (b < 0x80)
            return true;
        cokBaytli = true;
        if (b >= 0xC2 && b <= 0xDF) {
            beklenen = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            beklenen = 2;
            alt = b == 0xE0 ? 0xA0 : 0x80;
            ust = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            beklenen = 3;
            alt = b == 0xF0 ? 0x90 : 0x80;
            ust = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        return true;
    }
};

const QString KodlamaMesaji = QStringLiteral(
    "Dosya Windows-1254 (Türkçe) kodlu bir metin değil: %1. Türkçe harfler bozulacağından dosya okunmayacak; "
    "dosyayı Windows-1254 (ANSI) olarak kaydedip yeniden deneyin.");

} // namespace

SatirOkuyucu::SatirOkuyucu(const QString &yol)
{
    // Opened without waiting, then looked at: a FIFO without a writer would block the open,
    // and a device or a FIFO would never end.
    const int fd = ::open(QFile::encodeName(yol).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw Hata(QStringLiteral("Dosya açılamadı: %1").arg(QString::fromLocal8Bit(std::strerror(errno))), 75);
    struct stat bilgi {};
    if (::fstat(fd, &bilgi) != 0 || !S_ISREG(bilgi.st_mode)) {
        ::close(fd);
        throw Hata(QStringLiteral("%1 bir dosya değil (klasör, aygıt ya da boru); yalnızca düz bir dosya okunur.").arg(yol), 75);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!m_dosya.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Hata(QStringLiteral("Dosya açılamadı: %1").arg(m_dosya.errorString()), 75);
    }
}

void SatirOkuyucu::OkumaHatasi() const
{
    throw Hata(QStringLiteral("Dosya okunamadı: %1").arg(m_dosya.errorString()), 57);
}

QString SatirOkuyucu::YabanciKodlama()
{
    KonumaGit({});
    QByteArray parca(Parca, Qt::Uninitialized);
    qint64 okunan = m_dosya.read(parca.data(), Parca);
    if (okunan < 0)
        OkumaHatasi();
    const QByteArrayView bas(parca.constData(), okunan);
    QString neden;
    if (bas.startsWith("\xEF\xBB\xBF"))
        neden = QStringLiteral("UTF-8 bayt sırası işaretiyle (BOM) başlıyor");
    else if (bas.startsWith("\xFF\xFE") || bas.startsWith("\xFE\xFF") || bas.startsWith(QByteArrayView("<\0", 2))
             || bas.startsWith(QByteArrayView("\0<", 2)))
        neden = QStringLiteral("UTF-16 olarak kaydedilmiş");
    if (neden.isEmpty()) {
        // Windows-1254 text with a Turkish letter is never valid UTF-8 as a whole: the first
        // byte that cannot stand in UTF-8 ends the search, usually within the first lines.
        Utf8Durumu durum;
        bool gecersiz = false;
        while (okunan > 0 && !gecersiz) {
            for (qint64 i = 0; i < okunan; ++i) {
                if (!durum.Ekle(uchar(parca[i]))) {
                    gecersiz = true;
                    break;
                }
            }
            if (!gecersiz) {
                okunan = m_dosya.read(parca.data(), Parca);
                if (okunan < 0)
                    OkumaHatasi();
            }
        }
        if (!gecersiz && durum.beklenen == 0 && durum.cokBaytli)
            neden = QStringLiteral("UTF-8 olarak kaydedilmiş");
    }
    KonumaGit({});
    return neden.isEmpty() ? QString() : KodlamaMesaji.arg(neden);
}

bool SatirOkuyucu::Doldur()
{
    if (m_dosyaBitti)
        return false;
    if (m_tampon.isEmpty())
        m_tampon.resize(TamponBoyu);
    if (TamponBoyu - m_son < Parca) {
        // Unread bytes to the front; at most one line's worth, after at least as much was read.
        const qsizetype kalan = m_son - m_bas;
        std::memmove(m_tampon.data(), m_tampon.constData() + m_bas, size_t(kalan));
        m_tarandi -= m_bas;
        m_bas = 0;
        m_son = kalan;
    }
    const qint64 okunan = m_dosya.read(m_tampon.data() + m_son, Parca);
    if (okunan < 0)
        OkumaHatasi();
    if (okunan == 0) {
        m_dosyaBitti = true;
        return false;
    }
    m_son += qsizetype(okunan);
    m_dosyaKonumu += okunan;
    return true;
}

std::optional<QByteArrayView> SatirOkuyucu::Satir()
{
    if (m_bas == m_son && !Doldur())
        return std::nullopt;
    ++m_satirNo;
    const auto uzun = [this] {
        return Hata(QStringLiteral("Satır %1, %2 baytı aşıyor; bu uzunlukta bir satır aktarım dosyasında olamaz.")
                        .arg(m_satirNo)
                        .arg(EnUzunSatir));
    };
    qsizetype satirSonu, sonraki;
    for (;;) {
        const char *cr = static_cast<const char *>(
            std::memchr(m_tampon.constData() + m_tarandi, '\r', size_t(m_son - m_tarandi)));
        if (cr) {
            const qsizetype p = cr - m_tampon.constData();
            // A CR that ends the bytes read may be followed by an LF not read yet.
            if (p + 1 == m_son && Doldur())
                continue;
            satirSonu = p;
            sonraki = p + 1 < m_son && m_tampon.at(p + 1) == '\n' ? p + 2 : p + 1;
            break;
        }
        m_tarandi = m_son;
        if (m_son - m_bas > EnUzunSatir)
            throw uzun();
        if (!Doldur()) {
            satirSonu = sonraki = m_son;
            break;
        }
    }
    if (satirSonu - m_bas > EnUzunSatir)
        throw uzun();
    const QByteArrayView satir(m_tampon.constData() + m_bas, satirSonu - m_bas);
    m_bas = m_tarandi = sonraki;
    return satir;
}

void SatirOkuyucu::KonumaGit(const Yer &yer)
{
    if (!m_dosya.seek(yer.konum))
        throw Hata(QStringLiteral("Dosyada konuma gidilemedi: %1").arg(m_dosya.errorString()), 75);
    m_bas = m_son = m_tarandi = 0;
    m_dosyaKonumu = yer.konum;
    m_satirNo = yer.satirNo;
    m_dosyaBitti = false;
}
