#pragma once

#include <cstdio>
#include <string>

#include "games/qt/GamesHost.hpp"

/// The game library windows' host for the benchmarks: a program folder and
/// errors on the console; the machine's side does nothing.
class BenchGamesHost final : public ostrovik::games::GamesHost {
public:
    explicit BenchGamesHost(std::string dir) : dir_(std::move(dir)) {}
    std::string programDir() const override { return dir_; }
    void message(QWidget*, const QString&) override {}
    void error(QWidget*, const QString& text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool quickRun() const override { return false; }
    void setQuickRun(bool) override {}
    void ResetComp() override {}
    void setPaused(std::uint8_t) override {}
    void setMainCaption(const QString&) override {}
    void NewLoadFile(const QString&, bool) override {}
    void AddFileInMRU(const QString&) override {}
    void setOpenDialogFileName(const QString&) override {}
    void bringMainForward() override {}

private:
    std::string dir_;
};
