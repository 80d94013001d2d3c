#include "core/passwords.h"

#include <QCoreApplication>

#include <sodium.h>

namespace {

bool g_fastForTests = false;

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready) {
        throw Passwords::HashError();
    }
}

} // namespace

namespace Passwords {

HashError::HashError()
    : std::runtime_error(QCoreApplication::translate("Passwords",
                                                     "The password could not be protected: the system is short of "
                                                     "memory. Close other programs and try again.")
                             .toStdString())
{}

QString normalized(const QString& password)
{
    return password.trimmed().normalized(QString::NormalizationForm_C).toCaseFolded();
}

bool sameUsername(const QString& stored, const QString& typed)
{
    return normalized(stored) == normalized(typed);
}

QString hash(const QString& password)
{
    ensureSodium();
    const QByteArray plain = normalized(password).toUtf8();
    char out[crypto_pwhash_STRBYTES];
    const unsigned long long ops = g_fastForTests ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const size_t mem = g_fastForTests ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str_alg(out, plain.constData(), static_cast<unsigned long long>(plain.size()), ops, mem,
                              crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw HashError();
    }
    return QString::fromLatin1(out);
}

bool verify(const QString& storedHash, const QString& password)
{
    ensureSodium();
    const QByteArray stored = storedHash.toLatin1();
    if (!stored.startsWith("$argon2") || stored.size() >= qsizetype(crypto_pwhash_STRBYTES)) {
        return false;
    }
    const QByteArray plain = normalized(password).toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), plain.constData(),
                                    static_cast<unsigned long long>(plain.size())) == 0;
}

void setFastHashingForTests(bool fast)
{
    g_fastForTests = fast;
}

} // namespace Passwords
