#include "common/Registry.h"
#include "login/HatirlananKullanici.h"
#include "login/ui/LoginFrm.h"
#include "state/Degiskenler.h"
#include "support/GeciciAyarlar.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
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
const QString DenemeBitti = QStringLiteral("Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir.");
const auto Kritik = Etkilesim::Simge::Kritik;
const QColor OdakRengi(252, 226, 209);
} // namespace

// The login screen driven by its controls against demo databases in a temporary folder.
class LoginFrmTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void acilisVeCikis();
    void hatirlananVeOnerilenServer();
    void firmaSecimi_data();
    void firmaSecimi();
    void yanlisSifreUcKezProgramiBitirir();
    void enterBosSifreyleDenemeSayar();
    void eksikVeritabaniUcMesajDenemeSayilmaz();
    void tagGezinti_data();
    void tagGezinti();
    void kullaniciYalnizcaIsaretliVeBasariliysaHatirlanir_data();
    void kullaniciYalnizcaIsaretliVeBasariliysaHatirlanir();
    void bozukFirmaAyariListedeKalir();
    void firmaVeritabaniYoksaProgramBiter();

private:
    void Ekran(const QString &server);
    template <typename T> T *Kontrol(const char *ad) const
    {
        T *k = m_ekran->findChild<T *>(QLatin1String(ad));
        if (!k)
            qFatal("control %s missing", ad);
        return k;
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
    if (!QTest::qWaitForWindowActive(m_ekran.get()))
        qWarning("login screen not active");
}

void LoginFrmTesti::Gir(const QString &kullanici, const QString &sifre)
{
    Kontrol<QLineEdit>("sysus_nm")->setText(kullanici);
    Kontrol<QLineEdit>("sysus")->setText(sifre);
    QTest::mouseClick(Kontrol<QPushButton>("TamamBtn"), Qt::LeftButton);
}

QModelIndex LoginFrmTesti::FirmaSatiri(const QString &kod) const
{
    const QAbstractItemModel *model = Kontrol<QTableView>("TDBG1")->model();
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 1).data().toString() == kod)
            return model->index(r, 0);
    return {};
}

void LoginFrmTesti::acilisVeCikis()
{
    Ekran(QString());
    QCOMPARE(m_ekran->windowTitle(), QStringLiteral("Giriş"));
    QCOMPARE(Kontrol<QLineEdit>("sysus_nm")->text(), QStringLiteral("torvela"));
    QCOMPARE(Kontrol<QLineEdit>("DB_Name")->text(), QSysInfo::machineHostName().trimmed());
    QCOMPARE(Kontrol<QLineEdit>("sysus")->echoMode(), QLineEdit::Password);
    QCOMPARE(Kontrol<QLabel>("Label18")->text(), QStringLiteral("Kullanıcı Adı  :"));
    QCOMPARE(Kontrol<QLabel>("Label17")->text(), QStringLiteral("Şifre :"));
    QCOMPARE(Kontrol<QLabel>("Label1")->text(), QStringLiteral("Server Adı:"));
    QCOMPARE(Kontrol<QCheckBox>("Kullanici_Ayar_Sakla")->text(), QStringLiteral("Bu Kullanıcıyı Hatırla"));
    QVERIFY(!Kontrol<QCheckBox>("Kullanici_Ayar_Sakla")->isChecked());
    QCOMPARE(Kontrol<QPushButton>("TamamBtn")->text(), QStringLiteral("Tamam"));
    QCOMPARE(Kontrol<QPushButton>("CikisBtn")->text(), QStringLiteral("Çıkış"));
    QVERIFY(Kontrol<QFrame>("KullaniciPnl")->isVisible());
    QVERIFY(!Kontrol<QFrame>("FirmaPnl")->isVisible());
    QCOMPARE(m_ekran->focusWidget(), Kontrol<QLineEdit>("sysus"));
    QCOMPARE(Kontrol<QLineEdit>("sysus")->palette().color(QPalette::Base), OdakRengi);
    QCOMPARE(VeritabaniAdi, QStringLiteral("Defination_DB"));

    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    QTest::mouseClick(Kontrol<QPushButton>("CikisBtn"), Qt::LeftButton);
    QCOMPARE(bitti.size(), 1);
    QVERIFY(!Baglanti.Acik()); // nothing connected before OK
}

void LoginFrmTesti::hatirlananVeOnerilenServer()
{
    HatirlananKullanici::Kaydet(QStringLiteral("kasiyer"), QStringLiteral("SUNUCU1"));
    Ekran(QString());
    QCOMPARE(Kontrol<QLineEdit>("sysus_nm")->text(), QStringLiteral("kasiyer"));
    QCOMPARE(Kontrol<QLineEdit>("DB_Name")->text(), QStringLiteral("SUNUCU1"));
    // The password box has the focus whatever was remembered.
    QCOMPARE(m_ekran->focusWidget(), Kontrol<QLineEdit>("sysus"));

    // A server given to the program wins over the remembered one.
    Ekran(m_db->Server());
    QCOMPARE(Kontrol<QLineEdit>("DB_Name")->text(), m_db->Server());
    QCOMPARE(Kontrol<QLineEdit>("sysus_nm")->text(), QStringLiteral("kasiyer"));

    // A remembered server of blanks is not empty text: the box becomes empty.
    RegistryYaz(HKEY_CURRENT_USER_KOKU, QStringLiteral("DEF_TORVELA"), QStringLiteral("DEF_SRVR"), QStringLiteral("   "));
    Ekran(QString());
    QCOMPARE(Kontrol<QLineEdit>("DB_Name")->text(), QString());
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
    Kontrol<QLineEdit>("sysus_nm")->setText(kullanici);
    Kontrol<QLineEdit>("sysus")->setText(sifre);
    QTest::keyClick(Kontrol<QLineEdit>("sysus"), Qt::Key_Enter);
    if (secim) {
        QCOMPARE(secildi.size(), 0);
        QVERIFY(Kontrol<QFrame>("FirmaPnl")->isVisible());
        QVERIFY(!Kontrol<QFrame>("KullaniciPnl")->isVisible());
        auto *grid = Kontrol<QTableView>("TDBG1");
        QCOMPARE(grid->model()->rowCount(), 3);
        QStringList gorunenler;
        for (int i = 0; i < grid->model()->columnCount(); ++i)
            if (!grid->isColumnHidden(i))
                gorunenler << grid->model()->headerData(i, Qt::Horizontal).toString();
        QCOMPARE(gorunenler, QStringList({QStringLiteral("Firma Adı"), QStringLiteral("Firma Kodu")}));
        QCOMPARE(grid->columnWidth(0), 200);
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
    QCOMPARE(m_ekran->DenemeSayisi(), 0);
}

void LoginFrmTesti::yanlisSifreUcKezProgramiBitirir()
{
    Ekran(m_db->Server());
    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    m_operator->Bekle(Kontrol_, Kritik);
    Gir(QStringLiteral("torvela"), QStringLiteral("yanlis"));
    QCOMPARE(m_ekran->focusWidget(), Kontrol<QLineEdit>("sysus_nm"));
    // An unknown user counts the same.
    m_operator->Bekle(Kontrol_, Kritik);
    Gir(QStringLiteral("kimse"), QStringLiteral("1234"));
    QCOMPARE(bitti.size(), 0);
    QCOMPARE(m_ekran->DenemeSayisi(), 2);
    m_operator->Bekle(DenemeBitti, Kritik);
    Gir(QStringLiteral("torvela"), QStringLiteral("hala yanlis"));
    QCOMPARE(bitti.size(), 1);
    QVERIFY(m_ekran->Bitti());
    QVERIFY(!m_ekran->isVisible());
    // Nothing runs after the end, not even the right password.
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
}

void LoginFrmTesti::enterBosSifreyleDenemeSayar()
{
    TEST_SUNUCUSU_FARKI("an empty password is refused as a malformed request, not as a failed login");
    Ekran(m_db->Server());
    auto *kullanici = Kontrol<QLineEdit>("sysus_nm");
    kullanici->setFocus();
    m_operator->Bekle(Kontrol_, Kritik);
    QTest::keyClick(kullanici, Qt::Key_Return);
    QCOMPARE(m_ekran->DenemeSayisi(), 1);
    QCOMPARE(m_ekran->focusWidget(), kullanici);
}

void LoginFrmTesti::eksikVeritabaniUcMesajDenemeSayilmaz()
{
    // A server without the definitions database: on SQLite an empty folder.
    QTemporaryDir bos;
    if (TestVeritabani::SqlServerMi())
        m_db->Sil(QStringLiteral("Defination_DB"));
    Ekran(TestVeritabani::SqlServerMi() ? m_db->Server() : bos.path());
    m_operator->Bekle(QStringLiteral("Veri Tabanına Bağlanılamadı "), Kritik);
    m_operator->Bekle(QRegularExpression("(?i).*" + QRegularExpression::escape(m_db->VeritabaniMetni(QStringLiteral("Defination_DB"))) + ".*",
                                         QRegularExpression::DotMatchesEverythingOption),
                      Etkilesim::Simge::Yok);
    m_operator->Bekle(QStringLiteral("-2147467259"), Etkilesim::Simge::Yok);
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
    QCOMPARE(m_ekran->DenemeSayisi(), 0);
    QCOMPARE(m_ekran->focusWidget(), Kontrol<QLineEdit>("DB_Name"));
    // The server corrected, the same screen logs in.
    if (TestVeritabani::SqlServerMi())
        m_db->DemoYaz(10, 2);
    Kontrol<QLineEdit>("DB_Name")->setText(m_db->Server());
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
    QVERIFY(Kontrol<QFrame>("FirmaPnl")->isVisible());
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
    QTest::newRow("server Right stays") << "DB_Name" << int(Qt::Key_Right) << "DB_Name";
    QTest::newRow("other key stays") << "sysus" << int(Qt::Key_Home) << "sysus";
}

void LoginFrmTesti::tagGezinti()
{
    QFETCH(QString, kaynak);
    QFETCH(int, tus);
    QFETCH(QString, hedef);
    Ekran(m_db->Server());
    Kontrol<QLineEdit>("sysus")->setText(QStringLiteral("12"));
    auto *kutu = Kontrol<QLineEdit>(qPrintable(kaynak));
    kutu->setFocus();
    // Caret at the start for Left and at the end for Right: the caret check lets them act.
    kutu->setCursorPosition(tus == Qt::Key_Left ? 0 : int(kutu->text().size()));
    QTest::keyClick(kutu, Qt::Key(tus));
    auto *odak = Kontrol<QLineEdit>(qPrintable(hedef));
    QCOMPARE(m_ekran->focusWidget(), odak);
    QCOMPARE(odak->palette().color(QPalette::Base), OdakRengi);
    if (odak != kutu) {
        // The box entered shows its whole text selected, caret at the start; the one left is white.
        QCOMPARE(odak->selectedText(), odak->text());
        QCOMPARE(odak->cursorPosition(), 0);
        QCOMPARE(kutu->palette().color(QPalette::Base), QColor(Qt::white));
    }
}

void LoginFrmTesti::kullaniciYalnizcaIsaretliVeBasariliysaHatirlanir_data()
{
    QTest::addColumn<bool>("isaretli");
    QTest::addColumn<QString>("sifre");
    QTest::addColumn<bool>("yazilir");
    QTest::newRow("ticked, found") << true << "1234" << true;
    QTest::newRow("unticked, found") << false << "1234" << false;
    QTest::newRow("ticked, refused") << true << "yanlis" << false;
}

void LoginFrmTesti::kullaniciYalnizcaIsaretliVeBasariliysaHatirlanir()
{
    QFETCH(bool, isaretli);
    QFETCH(QString, sifre);
    QFETCH(bool, yazilir);
    Ekran(QStringLiteral(" ") + m_db->Server() + QStringLiteral(" "));
    Kontrol<QCheckBox>("Kullanici_Ayar_Sakla")->setChecked(isaretli);
    if (!yazilir && isaretli)
        m_operator->Bekle(Kontrol_, Kritik);
    Gir(QStringLiteral("torvela"), sifre);
    QCOMPARE(HatirlananKullanici::Kullanici(), yazilir ? QStringLiteral("torvela") : QString());
    QCOMPARE(HatirlananKullanici::Server(), yazilir ? m_db->Server() : QString());
}

void LoginFrmTesti::bozukFirmaAyariListedeKalir()
{
    // (SQL Server's tinyint cannot hold 300: there the setting is missing instead)
    m_db->Calistir(QStringLiteral("Defination_DB"), TestVeritabani::SqlServerMi()
                                                        ? QStringLiteral("UPDATE sysfrmlng SET StokMaxSeviye=NULL WHERE sysfrm_ID=1")
                                                        : QStringLiteral("UPDATE sysfrmlng SET StokMaxSeviye=300 WHERE sysfrm_ID=1"));
    Ekran(m_db->Server());
    QSignalSpy secildi(m_ekran.get(), &LoginFrm::FirmaSecildi);
    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
    auto *grid = Kontrol<QTableView>("TDBG1");
    grid->setCurrentIndex(FirmaSatiri(QStringLiteral("01")));
    m_operator->Bekle(QRegularExpression("Firma Seçilemedi\\.\r.*StokMaxSeviye.*", QRegularExpression::DotMatchesEverythingOption), Kritik);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(secildi.size(), 0);
    QCOMPARE(bitti.size(), 0);
    QVERIFY(Kontrol<QFrame>("FirmaPnl")->isVisible());
    // A click on the panel lays the list out again; another company can be chosen.
    QTest::mouseClick(Kontrol<QFrame>("FirmaPnl"), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(grid->model()->rowCount(), 3);
    grid->setCurrentIndex(FirmaSatiri(QStringLiteral("02")));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(secildi.size(), 1);
    QCOMPARE(VeritabaniAdi, QStringLiteral("FIRMA02"));
}

void LoginFrmTesti::firmaVeritabaniYoksaProgramBiter()
{
    m_db->Calistir(QStringLiteral("Defination_DB"), QStringLiteral("UPDATE sysfrmlng SET sysfrm_dbnm='YOK' WHERE sysfrm_ID=2"));
    Ekran(m_db->Server());
    QSignalSpy secildi(m_ekran.get(), &LoginFrm::FirmaSecildi);
    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    m_operator->Bekle(QStringLiteral("Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı Başlattıktan "
                                     "sonra programı Tekrar Çalıştırın"),
                      Etkilesim::Simge::Bilgi);
    m_operator->Bekle(QRegularExpression("(?i)Hata Ayrıntsı :.*" + QRegularExpression::escape(m_db->VeritabaniMetni(QStringLiteral("YOK"))) + ".*",
                                         QRegularExpression::DotMatchesEverythingOption),
                      Etkilesim::Simge::Yok);
    Gir(QStringLiteral("kasiyer"), QStringLiteral("kasa"));
    QCOMPARE(bitti.size(), 1);
    QCOMPARE(secildi.size(), 0);
}

QTEST_MAIN(LoginFrmTesti)
#include "tst_gui_login.moc"
