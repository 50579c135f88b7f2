#pragma once

#include <QProcess>
#include <QString>

#include <optional>

// What the tests ask of the system that only some systems offer: a small
// file system of its own, running as another user. Each returns why it
// cannot be done here, for the row to skip with.
namespace kpl::test {

// The program file's name on this system ("KPL_Presets_Config.exe" on
// Windows).
QString programFileName(const QString& name);

// Mounts an empty file system of `size` (as "512k") on the existing folder
// `folder`; unmountSmallDisk detaches it again.
std::optional<QString> mountSmallDisk(const QString& folder, const char* size);
void unmountSmallDisk(const QString& folder);

// Whether this process may run others as any user and hand files over.
bool runsAsRoot();
// Makes `process` run as the user numbered `user`.
void runAsUser(QProcess& process, uint user);

} // namespace kpl::test
