#include "state/RecordsetAc.h"

#include "common/Etkilesim.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"

namespace {

void Ac(Recordset &rs, const QString &sql, bool guncellenebilir, const QString &gosterilen)
{
    try {
        rs.Ac(Degiskenler::Baglanti, sql, guncellenebilir);
    } catch (const Hata &hata) {
        rs.Kapat();
        Operator().Mesaj(hata.Aciklama(), Etkilesim::Simge::Kritik);
        Operator().Mesaj(gosterilen, Etkilesim::Simge::Kritik);
        if (!guncellenebilir)
            Operator().PanoyaYaz(gosterilen);
    }
}

} // namespace

void RecordsetAc(Recordset &rs, const QString &sql)
{
    Ac(rs, sql, false, sql);
}

void RecordsetAc(Recordset &rs, const QString &sql, const QString &gosterilen)
{
    Ac(rs, sql, false, gosterilen);
}

void RecordsetAcDuzenle(Recordset &rs, const QString &sql)
{
    Ac(rs, sql, true, sql);
}
