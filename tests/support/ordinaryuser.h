#pragma once
// Acting as an ordinary user where the tests run as root, for whom file permissions stop nothing.
#include <QString>
#include <sys/stat.h>
#include <unistd.h>

// Runs as an ordinary user while it lives when the test runs as root.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : m_switched(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~AsOrdinaryUser()
    {
        if (m_switched)
            [[maybe_unused]] const int ignored = ::seteuid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;
    bool ok() const { return ::geteuid() != 0; }

private:
    bool m_switched;
};

inline void setMode(const QString &path, mode_t mode) { ::chmod(qPrintable(path), mode); }
