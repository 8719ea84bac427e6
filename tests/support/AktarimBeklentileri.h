#pragma once

#include <QString>

// What the transfer tests expect, written out here once rather than taken from the product,
// so that a changed company name or message text shows up as a failing test.
namespace AktarimBeklentileri {
inline const QString Kaynak = QStringLiteral("FIRMA01");
inline const QString Hedef = QStringLiteral("FIRMA02");
inline const QString Basari = QStringLiteral("İşlem Başarı ile Tamamlandı");
inline const QString Bolge7 =
    QStringLiteral("Stok Bilgileri Güncellenirken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz.");
} // namespace AktarimBeklentileri
