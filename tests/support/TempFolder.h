#pragma once

#include "app/Paths.h"

#include <QTemporaryDir>
#include <string>

namespace tuji::test {

// A temporary folder for one test, removed with everything in it afterwards.
// path() is program text without a trailing separator.
class TempFolder {
public:
    TempFolder() : dir_(QDir::tempPath() + "/tuji-test-XXXXXX") {}
    std::string path() const { return TextFromFsPath(dir_.path()); }
    std::string file(const std::string& name) const { return JoinPath(path(), name); }
    QString fsPath() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

} // namespace tuji::test
