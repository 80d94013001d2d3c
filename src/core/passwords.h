#pragma once

#include <QString>

#include <stdexcept>

// Login passwords are never stored readable: User.Password holds an Argon2id hash (libsodium's
// crypto_pwhash_str). Logins have always matched passwords without regard to letter case or surrounding
// blanks, so the password is trimmed, put in one Unicode form and case-folded before it is hashed or checked.
namespace Passwords {

class HashError : public std::runtime_error
{
public:
    HashError();
};

// The text that is actually hashed: trimmed, NFC, case-folded (full Unicode case folding, so that "ΣΟΦΟΣ"
// and "σοφος" with its final sigma are the same password, as lower case alone does not make them).
QString normalized(const QString& password);

// Whether a typed username is the stored one: usernames are matched as passwords are, in any capitals and
// without the blanks around them.
bool sameUsername(const QString& stored, const QString& typed);

// A fresh hash (with its own salt) for storing in User.Password. Throws HashError when the library cannot
// hash (out of memory).
QString hash(const QString& password);

// True when the password matches the stored hash. Anything that is not a hash of ours (null, empty,
// a readable password) matches nothing.
bool verify(const QString& storedHash, const QString& password);

// Tests only: hash with libsodium's minimum work factors so that suites creating many logins stay quick.
// The program always hashes with at least the interactive limits.
void setFastHashingForTests(bool fast);

} // namespace Passwords
