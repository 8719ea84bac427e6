#include "state/RecordsetAc.h"

#include "common/Etkilesim.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"

namespace {

void Ac(Recordset &rs, const QString &sql, bool guncellenebilir)
{
    try {
        rs.Ac(Degiskenler::Baglanti, sql, guncellenebilir);
    } catch (const Hata &hata) {
        rs.Kapat();
        Operator().Mesaj(hata.Aciklama(), Etkilesim::Simge::Kritik);
        Operator().Mesaj(sql, Etkilesim::Simge::Kritik);
        if (!guncellenebilir)
            Operator().PanoyaYaz(sql);
    }
}

} // namespace

void RecordsetAc(Recordset &rs, const QString &sql)
{
    Ac(rs, sql, false);
}

void RecordsetAcDuzenle(Recordset &rs, const QString &sql)
{
    Ac(rs, sql, true);
}
