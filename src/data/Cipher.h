#pragma once

#include <QByteArray>
#include <QString>

// The reversible cipher under which user passwords are stored (USERS.NPASSWORD):
// CAST-256 keyed with the SHA-256 of a fixed pass phrase, 8-bit cipher feedback starting from
// the encryption of a zero block, Base64 text. The password is taken as its Windows-1252
// bytes, as the earlier release stored it. Every call starts afresh.
QString Encipher(const QString& text);
// Returns an empty text for input that is not valid Base64.
QString Decipher(const QString& text);

// The length of the enciphered form of a password of LENGTH characters.
constexpr int encipheredLength(int length)
{
    return (length + 2) / 3 * 4;
}

// The longest password the login dialog takes; USERS.NPASSWORD holds its enciphered form.
constexpr int MaxLoginPasswordLength = 100;
constexpr int NPasswordWidth = encipheredLength(MaxLoginPasswordLength);

// The longest password the user dialog stores: its enciphered form fits the 30 characters
// that USERS.NPASSWORD had in the earlier release.
constexpr int MaxPasswordLength = 21;

namespace CipherDetail {
// One CAST-256 block encryption, for checking the block cipher against published vectors.
QByteArray encryptBlock(const QByteArray& key, const QByteArray& block);
} // namespace CipherDetail
