// Each test case runs in a fresh temporary program folder of its own.
#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "storage/paths.h"

class ProgramFolderFixture {
public:
    void enter()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        set_program_folder(dir_->path().toStdString());
    }
    void leave() { dir_.reset(); }
    std::string file(const std::string& name) const { return program_folder() + name; }

private:
    std::unique_ptr<QTemporaryDir> dir_;
};
