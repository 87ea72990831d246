#pragma once

#include <QString>

#include <cstdio>
#include <optional>
#include <vector>

#include "kit/Dialogs.hpp"

/// The windows' modal steps for the benchmarks: every file dialog answers
/// @c file, boxes go to the console. Installed for its lifetime.
class BenchDialogs final : public ostrovik::kit::Dialogs {
public:
    BenchDialogs() { ostrovik::kit::setDialogs(this); }
    ~BenchDialogs() override { ostrovik::kit::setDialogs(nullptr); }
    BenchDialogs(const BenchDialogs&) = delete;
    BenchDialogs& operator=(const BenchDialogs&) = delete;

    void message(QWidget*, const QString&, const QString&) override {}
    void error(QWidget*, const QString& text) override
    {
        ++errors;
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&,
                                    const QString& = QString()) override
    {
        return file;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return file;
    }
    bool compressorOptions(QWidget*, const QString&, std::vector<ostrovik::files::avi::CompressorOption>&) override
    {
        return false;
    }

    QString file;
    int errors = 0;
};
