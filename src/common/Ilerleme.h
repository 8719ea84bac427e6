#pragma once

#include <QString>

// The progress bar `KartBar` of the filter screen: its maximum and value live here, the
// operator seam shows them.
class IlerlemeCubugu
{
public:
    // Sets the maximum and the value, as the long commands do before their first step.
    void Ayarla(double maksimum, double deger = 0);
    double Maksimum() const { return m_maksimum; }
    double Deger() const { return m_deger; }
    void DegerYaz(double deger);

private:
    double m_maksimum = 0;
    double m_deger = 0;
};

// The filter screen's one bar; the commands that show progress share it.
IlerlemeCubugu &KartBar();

// One step of the progress display: the bar advances by `adim` and the caption of
// `BarFrame` shows the rounded percentage followed by "%". A step past the maximum keeps the
// bar at its maximum; a maximum of zero shows 0%. Neither ends the program.
void IlerlemeArttir(IlerlemeCubugu &bar, int adim = 1);

// The percentage caption for a value of a maximum: "50%".
QString YuzdeMetni(double deger, double maksimum);
