#include "data/Cipher.h"
#include "support/TestDb.h"

#include <QCryptographicHash>
#include <QTest>

class TestCipher : public QObject
{
    Q_OBJECT
private slots:
    // The block cipher against the 256-bit key vector published with CAST-256.
    void cast256KnownAnswer()
    {
        const QByteArray key = QByteArray::fromHex(
            "2342bb9efa38542cbed0ac83940ac2988d7c47ce264908461cc1b5137ae6b604");
        const QByteArray plain(16, '\0');
        QCOMPARE(CipherDetail::encryptBlock(key, plain).toHex(),
                 QByteArray("4f6a2038286897b9c9870136553317fa"));
    }

    // The mode, worked byte by byte from the block cipher: encrypt the register, XOR its first
    // byte, shift the cipher byte in.
    void eightBitFeedbackFromAZeroBlockRegister()
    {
        const QByteArray phrase("qpmhte5713r6rnvmtugQZbyy8mc7yh61");
        const QByteArray key = QCryptographicHash::hash(phrase, QCryptographicHash::Sha256);
        QByteArray reg = CipherDetail::encryptBlock(key, QByteArray(16, '\0'));
        const QByteArray text("Secret pass 1");
        QByteArray expected;
        for (char c : text) {
            const char out = char(c ^ CipherDetail::encryptBlock(key, reg).at(0));
            expected += out;
            reg = reg.mid(1) + out;
        }
        QCOMPARE(Encipher(QString::fromLatin1(text)), QString::fromLatin1(expected.toBase64()));
    }

    void roundTripsEveryLength()
    {
        QString text;
        for (int n = 0; n <= MaxPasswordLength; ++n) {
            const QString cipher = Encipher(text);
            QCOMPARE(cipher.size(), (n + 2) / 3 * 4);
            QCOMPARE(Decipher(cipher), text);
            text += QChar(u"aZ9 !~q"[n % 7]);
        }
        QCOMPARE(Encipher(QString()), QString());
        QCOMPARE(Decipher(QStringLiteral("not base64!")), QString());
    }

    void startsAfreshEachCall()
    {
        QCOMPARE(Encipher(QStringLiteral("abc")), Encipher(QStringLiteral("abc")));
        QVERIFY(Encipher(QStringLiteral("abc")) != Encipher(QStringLiteral("abd")));
    }

    // The earlier release enciphered a password's Windows-1252 bytes: one byte for each
    // character, the euro and the typographic signs included, not a "?" in their place.
    void passwordsAreTakenAsWindows1252Bytes()
    {
        const QString password = QStringLiteral("Grüße €„Œ“");
        QCOMPARE(Encipher(password).size(), encipheredLength(int(password.size())));
        QCOMPARE(Decipher(Encipher(password)), password);
        QVERIFY(Encipher(QStringLiteral("€")) != Encipher(QStringLiteral("?")));
    }

    // NPASSWORD holds the enciphered form of the longest password the login dialog takes.
    void longestLoginPasswordFitsTheColumn()
    {
        TestDb t;
        const QString fits = Encipher(QString(MaxLoginPasswordLength, QLatin1Char('x')));
        QCOMPARE(fits.size(), NPasswordWidth);
        t.db().exec(QStringLiteral("update users set npassword='%1' where wid=1").arg(fits));
        QCOMPARE(t.db().scalar(QStringLiteral("select npassword from users where wid=1")).toString(),
                 fits);
        QVERIFY_THROWS_EXCEPTION(
            DbError, t.db().exec(QStringLiteral("update users set npassword='%1A' where wid=1").arg(fits)));
    }
};

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
