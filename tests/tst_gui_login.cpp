#include "login/HatirlananKullanici.h"
#include "login/ui/LoginFrm.h"
#include "state/Degiskenler.h"
#include "support/GeciciAyarlar.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace Degiskenler;

namespace {
const QString Kontrol_ = QStringLiteral("Kullanını adınızı ve şifrenizi kontrol ediniz.");
const auto Kritik = Etkilesim::Simge::Kritik;
} // namespace

// The login screen driven by its controls against demo databases in a temporary folder.
class LoginFrmTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void acilisVeCikis();
    void firmaSecimi_data();
    void firmaSecimi();
    void denemeler();
    void tagGezinti_data();
    void tagGezinti();
    void kullaniciHatirlanir();
    void secilemeyenFirma();

private:
    void Ekran(const QString &server);
    template <typename T = QLineEdit> T *Kontrol(const char *ad) const
    {
        return m_ekran->findChild<T *>(QLatin1String(ad));
    }
    void Gir(const QString &kullanici, const QString &sifre);
    // The company list's row of a company code: the list comes in the server's order.
    QModelIndex FirmaSatiri(const QString &kod) const;

    std::unique_ptr<GeciciAyarlar> m_ayarlar;
    std::unique_ptr<SahteEtkilesim> m_operator;
    std::unique_ptr<TestVeritabani> m_db;
    std::unique_ptr<LoginFrm> m_ekran;
};

void LoginFrmTesti::init()
{
    m_ayarlar = std::make_unique<GeciciAyarlar>();
    m_operator = std::make_unique<SahteEtkilesim>();
    m_db = std::make_unique<TestVeritabani>();
    m_db->DemoYaz(10, 2);
}

void LoginFrmTesti::cleanup()
{
    m_ekran.reset();
    Sifirla();
    m_db.reset();
    m_operator.reset();
    m_ayarlar.reset();
}

void LoginFrmTesti::Ekran(const QString &server)
{
    m_ekran = std::make_unique<LoginFrm>(server);
    m_ekran->show();
    m_ekran->activateWindow();
    (void)QTest::qWaitForWindowActive(m_ekran.get());
}

void LoginFrmTesti::Gir(const QString &kullanici, const QString &sifre)
{
    Kontrol("sysus_nm")->setText(kullanici);
    Kontrol("sysus")->setText(sifre);
    QTest::mouseClick(Kontrol<QPushButton>("TamamBtn"), Qt::LeftButton);
}

QModelIndex LoginFrmTesti::FirmaSatiri(const QString &kod) const
{
    const QAbstractItemModel *m = Kontrol<QTableView>("TDBG1")->model();
    return m->match(m->index(0, 1), Qt::DisplayRole, kod, 1, Qt::MatchExactly).value(0).siblingAtColumn(0);
}

void LoginFrmTesti::acilisVeCikis()
{
    Ekran(QString());
    QCOMPARE(Kontrol("DB_Name")->text(), QSysInfo::machineHostName().trimmed());
    QCOMPARE(Kontrol("sysus")->echoMode(), QLineEdit::Password);
    QVERIFY(!Kontrol<QCheckBox>("Kullanici_Ayar_Sakla")->isChecked());
    QCOMPARE(m_ekran->focusWidget(), Kontrol("sysus"));

    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    QTest::mouseClick(Kontrol<QPushButton>("CikisBtn"), Qt::LeftButton);
    QCOMPARE(bitti.size(), 1);
    QVERIFY(!Baglanti.Acik()); // nothing connected before OK
}

void LoginFrmTesti::firmaSecimi_data()
{
    QTest::addColumn<QString>("kullanici");
    QTest::addColumn<QString>("sifre");
    QTest::addColumn<int>("secim"); // 0: no list, 1: Enter, 2: double click
    QTest::addColumn<QString>("kod");
    QTest::newRow("only company, no list") << "kasiyer" << "kasa" << 0 << "02";
    QTest::newRow("Enter") << "torvela" << "1234" << 1 << "03";
    QTest::newRow("double click") << "torvela" << "1234" << 2 << "03";
}

void LoginFrmTesti::firmaSecimi()
{
    QFETCH(QString, kullanici);
    QFETCH(QString, sifre);
    QFETCH(int, secim);
    QFETCH(QString, kod);
    Ekran(m_db->Server());
    QSignalSpy secildi(m_ekran.get(), &LoginFrm::FirmaSecildi);
    // Enter in the password box logs in as OK does.
    Kontrol("sysus_nm")->setText(kullanici);
    Kontrol("sysus")->setText(sifre);
    QTest::keyClick(Kontrol("sysus"), Qt::Key_Enter);
    if (secim) {
        QCOMPARE(secildi.size(), 0);
        QVERIFY(Kontrol<QFrame>("FirmaPnl")->isVisible() && !Kontrol<QFrame>("KullaniciPnl")->isVisible());
        auto *grid = Kontrol<QTableView>("TDBG1");
        QCOMPARE(grid->model()->rowCount(), 3);
        QVERIFY(!grid->isColumnHidden(1) && grid->isColumnHidden(2)); // name and code only
        const QModelIndex satir = FirmaSatiri(kod);
        QVERIFY(satir.isValid());
        if (secim == 2) {
            const QRect alan = grid->visualRect(satir);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, alan.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, alan.center());
        } else {
            grid->setCurrentIndex(satir);
            QTest::keyClick(grid, Qt::Key_Return);
        }
    } else {
        QVERIFY(!Kontrol<QFrame>("FirmaPnl")->isVisible()); // the list was never shown
    }
    QCOMPARE(secildi.size(), 1);
    QCOMPARE(m_ekran->FirmaKodu(), kod); // shown on the main window
    QVERIFY(m_db->BagliMi(QStringLiteral("FIRMA") + kod));
}

void LoginFrmTesti::denemeler()
{
    // A server without the definitions database (on SQLite an empty folder): three messages,
    // the server box to correct, no attempt counted.
    QTemporaryDir bos;
    if (TestVeritabani::SqlServerMi())
        m_db->Sil(QStringLiteral("Defination_DB"));
    Ekran(TestVeritabani::SqlServerMi() ? m_db->Server() : bos.path());
    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    m_operator->Bekle(QStringLiteral("Veri Tabanına Bağlanılamadı "), Kritik);
    m_operator->Bekle(QRegularExpression("(?i).*" + QRegularExpression::escape(m_db->VeritabaniMetni(QStringLiteral("Defination_DB"))) + ".*",
                                         QRegularExpression::DotMatchesEverythingOption),
                      Etkilesim::Simge::Yok);
    m_operator->Bekle(QStringLiteral("-2147467259"), Etkilesim::Simge::Yok);
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
    QCOMPARE(m_ekran->DenemeSayisi(), 0);
    QCOMPARE(m_ekran->focusWidget(), Kontrol("DB_Name"));
    if (TestVeritabani::SqlServerMi())
        m_db->DemoYaz(10, 2);
    Kontrol("DB_Name")->setText(m_db->Server());

    // A wrong password and an unknown user count alike; the third attempt ends the program.
    m_operator->Bekle(Kontrol_, Kritik);
    Gir(QStringLiteral("torvela"), QStringLiteral("yanlis"));
    QCOMPARE(m_ekran->focusWidget(), Kontrol("sysus_nm"));
    m_operator->Bekle(Kontrol_, Kritik);
    Gir(QStringLiteral("kimse"), QStringLiteral("1234"));
    QCOMPARE(bitti.size(), 0);
    QCOMPARE(m_ekran->DenemeSayisi(), 2);
    m_operator->Bekle(QStringLiteral("Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir."), Kritik);
    Gir(QStringLiteral("torvela"), QStringLiteral("hala yanlis"));
    QCOMPARE(bitti.size(), 1);
    QVERIFY(!m_ekran->isVisible());
    // Nothing runs after the end, not even the right password.
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
}

void LoginFrmTesti::tagGezinti_data()
{
    QTest::addColumn<QString>("kaynak");
    QTest::addColumn<int>("tus");
    QTest::addColumn<QString>("hedef");
    QTest::newRow("user Down -> password") << "sysus_nm" << int(Qt::Key_Down) << "sysus";
    QTest::newRow("user Up -> server") << "sysus_nm" << int(Qt::Key_Up) << "DB_Name";
    QTest::newRow("password Down -> server") << "sysus" << int(Qt::Key_Down) << "DB_Name";
    QTest::newRow("password Up -> user") << "sysus" << int(Qt::Key_Up) << "sysus_nm";
    QTest::newRow("server Down -> user") << "DB_Name" << int(Qt::Key_Down) << "sysus_nm";
    QTest::newRow("server Up -> password") << "DB_Name" << int(Qt::Key_Up) << "sysus";
    QTest::newRow("user Left stays") << "sysus_nm" << int(Qt::Key_Left) << "sysus_nm";
    QTest::newRow("other key stays") << "sysus" << int(Qt::Key_Home) << "sysus";
}

void LoginFrmTesti::tagGezinti()
{
    QFETCH(QString, kaynak);
    QFETCH(int, tus);
    QFETCH(QString, hedef);
    Ekran(m_db->Server());
    Kontrol("sysus")->setText(QStringLiteral("12"));
    auto *kutu = Kontrol(qPrintable(kaynak));
    kutu->setFocus();
    kutu->setCursorPosition(0); // Left acts only with the caret at the start
    QTest::keyClick(kutu, Qt::Key(tus));
    auto *odak = Kontrol(qPrintable(hedef));
    QCOMPARE(m_ekran->focusWidget(), odak);
    QCOMPARE(odak->palette().color(QPalette::Base), QColor(252, 226, 209));
    // The box entered shows its whole text selected; the one left turns white again.
    QVERIFY(odak == kutu || (odak->selectedText() == odak->text() && kutu->palette().color(QPalette::Base) == Qt::white));
}

void LoginFrmTesti::kullaniciHatirlanir()
{
    // Written only when ticked and the user was found; the server trimmed.
    const QString server = QStringLiteral(" ") + m_db->Server() + QStringLiteral(" ");
    for (const QString sifre : {QStringLiteral("yanlis"), QStringLiteral("1234")}) {
        Ekran(server);
        Kontrol<QCheckBox>("Kullanici_Ayar_Sakla")->setChecked(sifre == QLatin1String("yanlis"));
        if (sifre == QLatin1String("yanlis"))
            m_operator->Bekle(Kontrol_, Kritik);
        Gir(QStringLiteral("torvela"), sifre);
        QCOMPARE(HatirlananKullanici::Kullanici(), QString());
    }
    Ekran(server);
    Kontrol<QCheckBox>("Kullanici_Ayar_Sakla")->setChecked(true);
    Gir(QStringLiteral("kasiyer"), QStringLiteral("kasa"));
    QCOMPARE(HatirlananKullanici::Server(), m_db->Server());

    // Read back at the next start; the password box has the focus whatever was remembered.
    Ekran(QString());
    QCOMPARE(Kontrol("sysus_nm")->text(), QStringLiteral("kasiyer"));
    QCOMPARE(Kontrol("DB_Name")->text(), m_db->Server());
    QCOMPARE(m_ekran->focusWidget(), Kontrol("sysus"));
    // A server given to the program wins over the remembered one.
    Ekran(QStringLiteral(" SUNUCU1"));
    QCOMPARE(Kontrol("DB_Name")->text(), QStringLiteral("SUNUCU1"));
}

void LoginFrmTesti::secilemeyenFirma()
{
    // (SQL Server's tinyint cannot hold 300: there the setting is missing instead)
    m_db->Calistir(QStringLiteral("Defination_DB"), TestVeritabani::SqlServerMi()
                                                        ? QStringLiteral("UPDATE sysfrmlng SET StokMaxSeviye=NULL WHERE sysfrm_ID=1")
                                                        : QStringLiteral("UPDATE sysfrmlng SET StokMaxSeviye=300 WHERE sysfrm_ID=1"));
    m_db->Calistir(QStringLiteral("Defination_DB"), QStringLiteral("UPDATE sysfrmlng SET sysfrm_dbnm='YOK' WHERE sysfrm_ID=2"));
    Ekran(m_db->Server());
    QSignalSpy secildi(m_ekran.get(), &LoginFrm::FirmaSecildi);
    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
    // A company whose settings cannot be read: told, and the list stays.
    auto *grid = Kontrol<QTableView>("TDBG1");
    grid->setCurrentIndex(FirmaSatiri(QStringLiteral("01")));
    m_operator->Bekle(QRegularExpression("Firma Seçilemedi\\.\r.*StokMaxSeviye.*", QRegularExpression::DotMatchesEverythingOption), Kritik);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(bitti.size(), 0);
    QVERIFY(Kontrol<QFrame>("FirmaPnl")->isVisible());
    // A click on the panel lays the list out again. A company whose database is missing ends the program.
    QTest::mouseClick(Kontrol<QFrame>("FirmaPnl"), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(grid->model()->rowCount(), 3);
    grid->setCurrentIndex(FirmaSatiri(QStringLiteral("02")));
    m_operator->Bekle(QStringLiteral("Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı Başlattıktan "
                                     "sonra programı Tekrar Çalıştırın"),
                      Etkilesim::Simge::Bilgi);
    m_operator->Bekle(QRegularExpression("(?i)Hata Ayrıntsı :.*" + QRegularExpression::escape(m_db->VeritabaniMetni(QStringLiteral("YOK"))) + ".*",
                                         QRegularExpression::DotMatchesEverythingOption),
                      Etkilesim::Simge::Yok);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(bitti.size(), 1);
    QCOMPARE(secildi.size(), 0);
}

QTEST_MAIN(LoginFrmTesti)
#include "tst_gui_login.moc"
