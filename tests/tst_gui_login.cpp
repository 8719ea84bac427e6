#include "common/Registry.h"
#include "login/Giris.h"
#include "login/HatirlananKullanici.h"
#include "login/ui/LoginFrm.h"
#include "state/Degiskenler.h"
#include "support/GeciciAyarlar.h"
#include "support/SahteEtkilesim.h"
#include "support/TestVeritabani.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
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
} // namespace

// The login screen driven by its controls against demo databases in a temporary folder.
class LoginFrmTesti : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void acilistaVarsayilanlar();
    void hatirlananVeOnerilenServer();
    void tekFirmaDogrudanAnaPencereye();
    void cokFirmaListedeSecilir_data();
    void cokFirmaListedeSecilir();
    void yanlisSifreUcKezProgramiBitirir();
    void enterBosSifreyleDenemeSayar();
    void eksikVeritabaniUcMesajDenemeSayilmaz();
    void tagGezinti_data();
    void tagGezinti();
    void odakRengiVeSecim();
    void kullaniciYalnizcaIsaretliVeBasariliysaHatirlanir_data();
    void kullaniciYalnizcaIsaretliVeBasariliysaHatirlanir();
    void bozukFirmaAyariListedeKalir();
    void firmaVeritabaniYoksaProgramBiter();
    void cikisProgramiBitirir();

private:
    LoginFrm *Ekran(const QString &server);
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

LoginFrm *LoginFrmTesti::Ekran(const QString &server)
{
    m_ekran = std::make_unique<LoginFrm>(server);
    m_ekran->show();
    m_ekran->activateWindow();
    if (!QTest::qWaitForWindowActive(m_ekran.get()))
        qWarning("login screen not active");
    return m_ekran.get();
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

void LoginFrmTesti::acilistaVarsayilanlar()
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
    QCOMPARE(VeritabaniAdi, QStringLiteral("Defination_DB"));
    QVERIFY(!Baglanti.Acik()); // no connection before OK
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

void LoginFrmTesti::tekFirmaDogrudanAnaPencereye()
{
    Ekran(m_db->Server());
    QSignalSpy secildi(m_ekran.get(), &LoginFrm::FirmaSecildi);
    Gir(QStringLiteral("kasiyer"), QStringLiteral("kasa"));
    QCOMPARE(secildi.size(), 1);
    QVERIFY(!Kontrol<QFrame>("FirmaPnl")->isVisible()); // the list was never shown
    QCOMPARE(VeritabaniAdi, QStringLiteral("FIRMA02"));
    QCOMPARE(FirmaAdi, QStringLiteral("KADIKÖY ŞUBE"));
    QCOMPARE(m_ekran->FirmaKodu(), QStringLiteral("02"));   // shown on the main window
    QCOMPARE(KullaniciAdi, QStringLiteral("kasiyer"));
    QVERIFY(m_db->BagliMi(QStringLiteral("FIRMA02")));
}

void LoginFrmTesti::cokFirmaListedeSecilir_data()
{
    QTest::addColumn<bool>("ciftTiklama");
    QTest::newRow("Enter") << false;
    QTest::newRow("double click") << true;
}

void LoginFrmTesti::cokFirmaListedeSecilir()
{
    QFETCH(bool, ciftTiklama);
    Ekran(m_db->Server());
    QSignalSpy secildi(m_ekran.get(), &LoginFrm::FirmaSecildi);
    Gir(QStringLiteral("torvela"), QStringLiteral("1234"));
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
    const QModelIndex ucuncu = FirmaSatiri(QStringLiteral("03"));
    QVERIFY(ucuncu.isValid());
    if (ciftTiklama) {
        const QRect alan = grid->visualRect(ucuncu);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, alan.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, alan.center());
    } else {
        grid->setCurrentIndex(ucuncu);
        QTest::keyClick(grid, Qt::Key_Return);
    }
    QCOMPARE(secildi.size(), 1);
    QCOMPARE(FirmaID, qint16(3));
    QCOMPARE(VeritabaniAdi, QStringLiteral("FIRMA03"));
    QCOMPARE(m_ekran->FirmaKodu(), QStringLiteral("03"));
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
    // Enter in the password box with the right password: moves on and logs in.
    Kontrol<QLineEdit>("sysus")->setText(QStringLiteral("1234"));
    QTest::keyClick(Kontrol<QLineEdit>("sysus"), Qt::Key_Enter);
    QVERIFY(Kontrol<QFrame>("FirmaPnl")->isVisible());
    QCOMPARE(m_ekran->DenemeSayisi(), 1);
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
    QTest::newRow("user Right stays") << "sysus_nm" << int(Qt::Key_Right) << "sysus_nm";
    QTest::newRow("server Left stays") << "DB_Name" << int(Qt::Key_Left) << "DB_Name";
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
    auto *kutu = m_ekran->findChild<QLineEdit *>(kaynak);
    kutu->setFocus();
    // Caret at the start for Left and at the end for Right: the caret check lets them act.
    kutu->setCursorPosition(tus == Qt::Key_Left ? 0 : int(kutu->text().size()));
    QTest::keyClick(kutu, Qt::Key(tus));
    QCOMPARE(m_ekran->focusWidget()->objectName(), hedef);
}

void LoginFrmTesti::odakRengiVeSecim()
{
    Ekran(m_db->Server());
    QCOMPARE(LoginFrm::OdakRengi(), QColor(252, 226, 209));
    auto *kullanici = Kontrol<QLineEdit>("sysus_nm");
    auto *server = Kontrol<QLineEdit>("DB_Name");
    kullanici->setFocus();
    QCOMPARE(kullanici->palette().color(QPalette::Base), QColor(252, 226, 209));
    QCOMPARE(kullanici->selectedText(), QStringLiteral("torvela"));
    QCOMPARE(kullanici->cursorPosition(), 0);
    QTest::keyClick(kullanici, Qt::Key_Down);
    QTest::keyClick(Kontrol<QLineEdit>("sysus"), Qt::Key_Down);
    QCOMPARE(m_ekran->focusWidget(), server);
    QCOMPARE(kullanici->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(Kontrol<QLineEdit>("sysus")->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(server->palette().color(QPalette::Base), QColor(252, 226, 209));
    QCOMPARE(server->selectedText(), m_db->Server());
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

void LoginFrmTesti::cikisProgramiBitirir()
{
    Ekran(m_db->Server());
    QSignalSpy bitti(m_ekran.get(), &LoginFrm::ProgramiBitir);
    QTest::mouseClick(Kontrol<QPushButton>("CikisBtn"), Qt::LeftButton);
    QCOMPARE(bitti.size(), 1);
    QVERIFY(!Baglanti.Acik());
}

QTEST_MAIN(LoginFrmTesti)
#include "tst_gui_login.moc"
