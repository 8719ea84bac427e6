#include "state/SqlLehcesi.h"

#include <QDate>
#include <QRegularExpression>
#include <QVector>

namespace {

// A piece of the statement. Quoted text, quoted names and comments are single pieces, so
// nothing inside them is ever taken for a construct to rewrite.
struct Parca {
    enum Tur { Bosluk, Kelime, Nokta, Metin, Ad, Islec, Diger };
    Tur tur;
    qsizetype bas;
    qsizetype uzunluk;
    QString yerine;      // replaces the piece when `degisti`
    bool degisti = false;
    QString ardindan;    // written after the piece
};

bool KelimeHarfi(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// Up to and including the closing `kapanis`; a doubled one stands for itself.
qsizetype TirnakSonu(const QString &s, qsizetype i, QChar kapanis)
{
    for (++i; i < s.size(); ++i) {
        if (s[i] != kapanis)
            continue;
        if (i + 1 < s.size() && s[i + 1] == kapanis) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return s.size();
}

QVector<Parca> Parcala(const QString &s)
{
    QVector<Parca> parcalar;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        Parca::Tur tur = Parca::Diger;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            tur = Parca::Bosluk;
        } else if (c == u'\'') {
            j = TirnakSonu(s, i, u'\'');
            tur = Parca::Metin;
        } else if (c == u'"') {
            j = TirnakSonu(s, i, u'"');
            tur = Parca::Ad;
        } else if (c == u'[') {
            j = TirnakSonu(s, i, u']');
            tur = Parca::Ad;
        } else if (c == u'-' && j < n && s[j] == u'-') {
            while (j < n && s[j] != u'\n')
                ++j;
            tur = Parca::Bosluk;
        } else if (c == u'/' && j < n && s[j] == u'*') {
            const qsizetype son = s.indexOf(QStringLiteral("*/"), j + 1);
            j = son < 0 ? n : son + 2;
            tur = Parca::Bosluk;
        } else if (KelimeHarfi(c)) {
            while (j < n && KelimeHarfi(s[j]))
                ++j;
            tur = Parca::Kelime;
        } else if (c == u'.') {
            tur = Parca::Nokta;
        } else if (c == u'=' || c == u'<' || c == u'>' || c == u'!') {
            if (j < n && (s[j] == u'=' || (c == u'<' && s[j] == u'>')))
                ++j;
            tur = c == u'!' && j == i + 1 ? Parca::Diger : Parca::Islec;
        }
        parcalar.append({tur, i, j - i, QString(), false, QString()});
        i = j;
    }
    return parcalar;
}

class Yeniden
{
public:
    Yeniden(const QString &sql, const SutunTuruBulucu &sutunTuru, const QString &siralama)
        : m_sql(sql), m_p(Parcala(sql)), m_sutunTuru(sutunTuru), m_harman(QStringLiteral(" COLLATE ") + siralama)
    {
    }

    QString Yaz()
    {
        for (int k = 0; k < m_p.size(); ++k) {
            if (m_p[k].tur == Parca::Islec)
                Karsilastirma(k);
            else if (Kelime(k, u"ORDER") && Kelime(Sonraki(k), u"BY"))
                Siralama(Sonraki(k));
        }
        QString sonuc;
        sonuc.reserve(m_sql.size() + 32);
        for (const Parca &p : m_p) {
            if (p.degisti)
                sonuc += p.yerine;
            else
                sonuc += QStringView(m_sql).mid(p.bas, p.uzunluk);
            sonuc += p.ardindan;
        }
        return sonuc;
    }

private:
    QStringView Metni(int k) const { return QStringView(m_sql).mid(m_p[k].bas, m_p[k].uzunluk); }
    bool Kelime(int k, QStringView kelime) const
    {
        return k >= 0 && k < m_p.size() && m_p[k].tur == Parca::Kelime
               && Metni(k).compare(kelime, Qt::CaseInsensitive) == 0;
    }
    bool Tur(int k, Parca::Tur tur) const { return k >= 0 && k < m_p.size() && m_p[k].tur == tur; }
    bool Isaret(int k, QChar c) const { return Tur(k, Parca::Diger) && Metni(k) == QStringView(&c, 1); }
    int Sonraki(int k) const
    {
        do
            ++k;
        while (k < m_p.size() && m_p[k].tur == Parca::Bosluk);
        return k;
    }
    int Onceki(int k) const
    {
        do
            --k;
        while (k >= 0 && m_p[k].tur == Parca::Bosluk);
        return k;
    }

    // A column named by the pieces ending at `son`: "sutun" or "tablo.sutun" (or longer).
    SutunTuru SutunOku(int son, QStringView *tablo = nullptr) const
    {
        if (!Tur(son, Parca::Kelime) || Metni(son).front().isDigit())
            return SutunTuru::Bilinmiyor;
        QStringView nitelik;
        if (son >= 2 && Tur(son - 1, Parca::Nokta) && Tur(son - 2, Parca::Kelime))
            nitelik = Metni(son - 2);
        if (tablo)
            *tablo = nitelik;
        return m_sutunTuru ? m_sutunTuru(nitelik, Metni(son)) : SutunTuru::Bilinmiyor;
    }

    void Karsilastirma(int k)
    {
        const QStringView islec = Metni(k);
        // "=ANY(SELECT" -> " IN (SELECT"
        if (islec == u"=") {
            const int any = Sonraki(k), ac = Sonraki(any), select = Sonraki(ac);
            if (Kelime(any, u"ANY") && Isaret(ac, u'(') && Kelime(select, u"SELECT")) {
                m_p[k].yerine = QStringLiteral(" IN (SELECT");
                for (int i = k; i <= select; ++i)
                    m_p[i].degisti = true;
                return;
            }
        }
        const int sag = Sonraki(k);
        if (!Tur(sag, Parca::Metin))
            return;
        const SutunTuru tur = SutunOku(Onceki(k));
        if (tur == SutunTuru::Tarih) {
            static const QRegularExpression tarih(QStringLiteral(R"(^'(\d{2})/(\d{2})/(\d{4})'$)"));
            const auto e = tarih.match(Metni(sag));
            if (!e.hasMatch())
                return;
            const QDate gun(e.captured(3).toInt(), e.captured(1).toInt(), e.captured(2).toInt());
            if (!gun.isValid())
                return;
            m_p[sag].yerine = QLatin1Char('\'') + gun.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00'");
            m_p[sag].degisti = true;
        } else if (tur == SutunTuru::Metin && islec != u"=" && islec != u"<>" && islec != u"!=") {
            if (!Kelime(Sonraki(sag), u"COLLATE"))
                m_p[sag].ardindan = m_harman;
        }
    }

    // The ORDER BY list after `by`: a plain text column there is ordered the Turkish way.
    void Siralama(int by)
    {
        int k = Sonraki(by);
        while (k < m_p.size()) {
            int son = k;
            while (Tur(son + 1, Parca::Nokta) && Tur(son + 2, Parca::Kelime))
                son += 2;
            const int ardi = Sonraki(son);
            const bool tekSutun = ardi >= m_p.size() || Isaret(ardi, u',') || Isaret(ardi, u')')
                                  || Kelime(ardi, u"ASC") || Kelime(ardi, u"DESC");
            if (tekSutun && SutunOku(son) == SutunTuru::Metin)
                m_p[son].ardindan = m_harman;
            // On to the next item, or done with anything but a plain list.
            int sonraki = ardi;
            if (Kelime(sonraki, u"ASC") || Kelime(sonraki, u"DESC"))
                sonraki = Sonraki(sonraki);
            if (!Isaret(sonraki, u','))
                return;
            k = Sonraki(sonraki);
        }
    }

    const QString &m_sql;
    QVector<Parca> m_p;
    const SutunTuruBulucu &m_sutunTuru;
    const QString m_harman;
};

} // namespace

QString SQLiteLehcesine(const QString &sql, const SutunTuruBulucu &sutunTuru, const QString &siralama)
{
    QString sonuc = sql;

    // TOP can only stand at the start, where no quoted text is.
    static const QRegularExpression top(QStringLiteral(R"(^(\s*SELECT\s+)TOP\s+(\d+)\s+)"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString limit;
    if (const auto e = top.match(sonuc); e.hasMatch()) {
        limit = QStringLiteral(" LIMIT ") + e.captured(2);
        sonuc.replace(e.capturedStart(), e.capturedLength(), e.captured(1));
    }

    // Only a statement with quoted text, a subquery or an ordering has anything else to rewrite.
    if (sonuc.contains(QLatin1Char('\'')) || sonuc.contains(QLatin1String("ANY"), Qt::CaseInsensitive)
        || sonuc.contains(QLatin1String("ORDER"), Qt::CaseInsensitive))
        sonuc = Yeniden(sonuc, sutunTuru, siralama).Yaz();

    if (!limit.isEmpty()) {
        while (sonuc.endsWith(QLatin1Char(' ')) || sonuc.endsWith(QLatin1Char(';')))
            sonuc.chop(1);
        sonuc += limit;
    }
    return sonuc;
}
