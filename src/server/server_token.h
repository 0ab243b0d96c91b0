#pragma once

#include <QByteArray>
#include <QString>

// The secret every API request carries as "Authorization: Bearer TOKEN": 256 random bits
// as hex, made on first start and kept in a file only its user may read.
class CServerToken
{
public:
    // Shortest token a token file may hold.
    static constexpr int kMinLength = 32;

    // $XDG_CONFIG_HOME/lumivant/server-token (~/.config/lumivant/server-token).
    static QString DefaultPath();

    // Reads the token from the file, or makes a new one there when the file does not exist.
    // False with the reason when the file cannot be made or read, when others than its user
    // may read it, or when it holds no token of at least kMinLength printable characters.
    [[nodiscard]] bool LoadOrCreate(const QString& path, QString& error);

    // Whether an Authorization header carries this token; compared in constant time.
    bool Accepts(const QByteArray& authorization) const;

    const QByteArray& Value() const { return m_token; }

private:
    QByteArray m_token;
    QByteArray m_digest;
};
