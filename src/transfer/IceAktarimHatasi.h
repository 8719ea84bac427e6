#pragma once

#include "state/Hata.h"

// The one way an import's failures travel: the reader, the checks and the writer throw it,
// the command catches it once per region and shows that region's message. The database
// layer's own Hata takes the region of the record being written.
class IceAktarimHatasi : public Hata
{
public:
    // Stops with a fixed message of their own; Yok: the region's message, with the description.
    enum class Durus {
        Yok,
        DosyaDegil,        // line 1 is not "<KDVGRUPLARI>"
        YabanciKodlama,    // not Windows-1254 text; the description is the message
        StokYok,           // "<END>" before the cards
        KdvOkunamadi,      // a VAT line with fewer than three ";"
        KdvBolumuBos,      // no VAT group in the file; the description is the message
        KdvUyusmuyor,      // the VAT groups disagree with the target's
        HedefKdvYok,       // the target has no VAT groups
        FiyatTanimOkunamadi,
        KartBasligi,       // count or field-name line unusable
        FiyatBasligi,      // "<STOKFIYAT>" or the price prefix unusable
        StokEtiketiYok,    // no "<STOK>" after the headers
    };

    IceAktarimHatasi(int bolge, QString aciklama, QString stokKod = QString(), Durus durus = Durus::Yok,
                     qint64 numara = GenelHataNo)
        : Hata(std::move(aciklama), numara), m_bolge(bolge), m_durus(durus), m_stokKod(std::move(stokKod)) {}

    int Bolge() const { return m_bolge; }
    Durus Durusu() const { return m_durus; }
    // The card a region 7 failure names; empty when none was being read.
    const QString &StokKod() const { return m_stokKod; }

private:
    int m_bolge;
    Durus m_durus;
    QString m_stokKod;
};
