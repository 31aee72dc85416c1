#pragma once

#include <QByteArray>
#include <QString>

// The reversible cipher under which user passwords are stored (USERS.NPASSWORD):
// CAST-256 keyed with the SHA-256 of a fixed pass phrase, 8-bit cipher feedback starting from
// the encryption of a zero block, Base64 text. Every call starts afresh.
QString Encipher(const QString& text);
// Returns an empty text for input that is not valid Base64.
QString Decipher(const QString& text);

// The longest password whose enciphered form fits USERS.NPASSWORD (30 characters).
constexpr int MaxPasswordLength = 21;

namespace CipherDetail {
// One CAST-256 block encryption, for checking the block cipher against published vectors.
QByteArray encryptBlock(const QByteArray& key, const QByteArray& block);
} // namespace CipherDetail
