#include "state/HazirKomut.h"

#include "state/Baglanti.h"
#include "state/Hata.h"

#include <QSqlQuery>
#include <optional>

namespace {

class Sorgu : public HazirKomutUcu
{
public:
    Sorgu(VeriTabaniBaglantisi &baglanti, const QString &sql, KomutKullanimi kullanim)
        : m_baglanti(baglanti), m_sql(sql)
    {
        if (kullanim == KomutKullanimi::Tekrar)
            m_sorgu = &baglanti.Hazirla(sql);
    }

    void Bagla(int sira, const QVariant &deger) override
    {
        if (!m_sorgu)
            throw Hata(QStringLiteral("Bir kez çalışan komuta değer bağlanamaz."));
        m_sorgu->bindValue(sira, deger);
    }
    void Yurut() override
    {
        if (m_sorgu) {
            m_baglanti.Yurut(*m_sorgu);
            return;
        }
        m_kendi = m_baglanti.Calistir(m_sql);
    }
    bool Sonraki() override { return Etkin() && Etkin()->next(); }
    int SutunSayisi() const override { return Kayit().count(); }
    QString SutunAdi(int sutun) const override { return Kayit().fieldName(sutun); }
    QVariant Deger(int sutun) const override { return Etkin() ? Etkin()->value(sutun) : QVariant(); }
    QSqlRecord Kayit() const override { return Etkin() ? Etkin()->record() : QSqlRecord(); }
    QVariant SonEklenenId() override { return m_baglanti.SonEklenenAnahtar(); }
    void Bitir() override
    {
        if (m_sorgu)
            m_sorgu->finish();
        m_kendi.reset();
    }

private:
    QSqlQuery *Etkin() const { return m_sorgu ? m_sorgu : (m_kendi ? &*m_kendi : nullptr); }

    VeriTabaniBaglantisi &m_baglanti;
    QString m_sql;
    QSqlQuery *m_sorgu = nullptr;           // the connection's, kept for reuse
    mutable std::optional<QSqlQuery> m_kendi; // run once
};

} // namespace

std::unique_ptr<HazirKomutUcu> SorguKomutu(VeriTabaniBaglantisi &baglanti, const QString &sql, KomutKullanimi kullanim)
{
    return std::make_unique<Sorgu>(baglanti, sql, kullanim);
}

HazirKomut::HazirKomut(VeriTabaniBaglantisi &baglanti, const QString &sql, KomutKullanimi kullanim)
    : m_uc(baglanti.ArkaUcu().KomutHazirla(baglanti, sql, kullanim))
{
}

HazirKomut::~HazirKomut() = default;
