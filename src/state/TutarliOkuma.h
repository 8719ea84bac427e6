#pragma once

class VeriTabaniBaglantisi;

// A read of many statements that sees the database at one moment while other connections
// write: the whole read where the backend holds a snapshot, otherwise each part of it (the
// reader calls YeniParca() between parts). Inside a transaction already begun, the read is
// that transaction's. Left without Bitir() (a failure), the read ends without a word.
class TutarliOkuma
{
public:
    explicit TutarliOkuma(VeriTabaniBaglantisi &baglanti); // throws Hata
    ~TutarliOkuma();
    TutarliOkuma(const TutarliOkuma &) = delete;
    TutarliOkuma &operator=(const TutarliOkuma &) = delete;

    // Between two parts: where the moment lasts one part only, the next part gets a new one.
    void YeniParca(); // throws Hata
    void Bitir();     // throws Hata
    // Whether the whole read sees one moment.
    bool Butun() const { return m_butun; }

private:
    VeriTabaniBaglantisi &m_baglanti;
    bool m_acik = false; // begun here, not yet ended
    bool m_butun = true;
};
