#pragma once

#include <QString>

#include <optional>

class DegisiklikKaydi;

// What an import did, for the command-line program.
struct IceAktarimOzeti {
    bool basarili = false;
    QString mesaj;          // the message that ended the import when it did not succeed
    int kartOlusturulan = 0;
    int kartGuncellenen = 0;
    int kartDegismeyen = 0;
    int fiyatOlusturulan = 0;
    int fiyatGuncellenen = 0;
    int fiyatTanimiEklenen = 0;
    int fiyatTanimiGuncellenen = 0; // existing definitions whose caption or default flag changed

    // Statements sent for the cards of each kind (reads, writes and transaction control, as
    // the database layer counts them), in all and at most for one card.
    struct KomutSayilari {
        quint64 toplam = 0;
        int enCok = 0;
    };
    KomutSayilari komutOlusturulan, komutGuncellenen, komutDegismeyen;
};

// Applies the transfer file at `yol` to the logged-in company, as after the operator's
// consent, with every message and progress step: the file is read and checked whole against
// the company first (VAT groups, price definitions, every card and price value); a file
// refused there changes nothing. Then the price definitions, cards and prices are written,
// the cards in groups (one transaction each, a savepoint per card), so that only a failure of
// the database itself stops the import part-way, every card before it whole.
// `deneme`: everything runs inside one transaction that is rolled back at the end, so the
// database is left as it was (the summary tells what would have happened).
// `degisiklikler`, when given, is told every change as the writer makes it. `basariMesaji`:
// whether success is told to the operator (a preview shows its window instead).
IceAktarimOzeti AktarimDosyasiUygula(const QString &yol, bool deneme = false, DegisiklikKaydi *degisiklikler = nullptr,
                                     bool basariMesaji = true);

// The summary as lines "Oluşturulan kart: 3", for the command line and the preview.
QString OzetMetni(const IceAktarimOzeti &ozet);

// The import's consent question.
const QString &AktarimOnayi();

// Asks for the transfer file to read and remembers it; none when the operator cancels or the
// remembered path cannot be read or written (the operator has been told).
std::optional<QString> AlinacakDosyaSec();

// "DOSYADAN AL": the file dialog with the remembered path, the confirmation, then the above
// with its change report (RaporluAktar).
void DosyadanAl();
