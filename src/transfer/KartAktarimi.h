#pragma once

#include "common/Etkilesim.h"
#include "transfer/DosyadanAl.h"

class AktarimOkuyucu;

// The second half of the import: card header, price header, cards and their prices. The
// reader stands after "<STOKKART>". Shows its own messages and fills the summary.
void KartlariAktar(AktarimOkuyucu &dosya, IceAktarimOzeti &ozet);

// Shows a message that ends the import and keeps its text for the summary.
void BitirenMesaj(IceAktarimOzeti &ozet, const QString &metin, Etkilesim::Simge simge, const QString &baslik = QString());
