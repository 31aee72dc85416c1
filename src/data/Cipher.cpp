#include "data/Cipher.h"

#include "data/Windows1252.h"

#include <crypto++/base64.h>
#include <crypto++/cast.h>
#include <crypto++/filters.h>
#include <crypto++/modes.h>
#include <crypto++/sha.h>

namespace {

const char PassPhrase[] = "qpmhte5713r6rnvmtugQZbyy8mc7yh61";

using Bytes = CryptoPP::SecByteBlock;

Bytes cipherKey()
{
    Bytes key(CryptoPP::SHA256::DIGESTSIZE);
    CryptoPP::SHA256().CalculateDigest(key, reinterpret_cast<const CryptoPP::byte*>(PassPhrase),
                                       sizeof PassPhrase - 1);
    return key;
}

Bytes startingRegister(const Bytes& key)
{
    CryptoPP::CAST256::Encryption block(key, key.size());
    Bytes zero(CryptoPP::CAST256::BLOCKSIZE);
    std::fill(zero.begin(), zero.end(), 0);
    Bytes out(CryptoPP::CAST256::BLOCKSIZE);
    block.ProcessBlock(zero, out);
    return out;
}

// Texts are single-byte in the database; passwords are taken byte for byte.
QByteArray run(bool encrypt, const QByteArray& input)
{
    const Bytes key = cipherKey();
    const Bytes iv = startingRegister(key);
    const CryptoPP::AlgorithmParameters params =
        CryptoPP::MakeParameters(CryptoPP::Name::FeedbackSize(), 1)(
            CryptoPP::Name::IV(), CryptoPP::ConstByteArrayParameter(iv.data(), iv.size()));
    QByteArray output(input.size(), '\0');
    auto* in = reinterpret_cast<const CryptoPP::byte*>(input.constData());
    auto* out = reinterpret_cast<CryptoPP::byte*>(output.data());
    if (encrypt) {
        CryptoPP::CFB_Mode<CryptoPP::CAST256>::Encryption mode;
        mode.SetKey(key, key.size(), params);
        mode.ProcessData(out, in, size_t(input.size()));
    } else {
        CryptoPP::CFB_Mode<CryptoPP::CAST256>::Decryption mode;
        mode.SetKey(key, key.size(), params);
        mode.ProcessData(out, in, size_t(input.size()));
    }
    return output;
}

} // namespace

QString Encipher(const QString& text)
{
    if (text.isEmpty())
        return QString();
    return QString::fromLatin1(run(true, Windows1252::encode(text)).toBase64());
}

QString Decipher(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(),
                                                       QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return QString();
    return Windows1252::decode(run(false, *decoded));
}

QByteArray CipherDetail::encryptBlock(const QByteArray& key, const QByteArray& block)
{
    CryptoPP::CAST256::Encryption cipher(reinterpret_cast<const CryptoPP::byte*>(key.constData()),
                                         size_t(key.size()));
    QByteArray out(CryptoPP::CAST256::BLOCKSIZE, '\0');
    cipher.ProcessBlock(reinterpret_cast<const CryptoPP::byte*>(block.constData()),
                        reinterpret_cast<CryptoPP::byte*>(out.data()));
    return out;
}
