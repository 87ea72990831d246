#include "CatalogueServer.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

#ifndef OSTROVIK_CATALOGUE_SERVER
#error "the test's CMake entry names the server script"
#endif

CatalogueServer::CatalogueServer(const std::vector<Game>& games, nlohmann::json extra)
{
    nlohmann::json site = std::move(extra);
    site["games"] = nlohmann::json::array();
    for (const Game& g : games) {
        nlohmann::json game{{"name", g.name}, {"title", g.title}, {"mark", g.mark}, {"files", g.files}};
        nlohmann::json contents = nlohmann::json::object();
        for (const auto& [file, bytes] : g.contents) {
            std::string hex;
            for (unsigned char c : bytes) {
                static const char* digits = "0123456789abcdef";
                hex += digits[c >> 4];
                hex += digits[c & 15];
            }
            contents[file] = hex;
        }
        game["contents"] = contents;
        if (g.hasPage)
            game["description"] = g.description;
        site["games"].push_back(game);
    }
    char pattern[] = "/tmp/ostrovik-site-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0)
        throw std::runtime_error("no site file");
    close(fd);
    siteFile_ = pattern;
    std::ofstream(siteFile_) << site.dump();

    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0)
        throw std::runtime_error("no pipes");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string script = OSTROVIK_CATALOGUE_SERVER;
    char* argv[] = {const_cast<char*>("python3"), script.data(), siteFile_.data(), nullptr};
    const int spawned = posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toServer_ = in[1];
    if (spawned != 0)
        throw std::runtime_error("python3 did not start");
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(out[0]);
    char* rest = nullptr;
    port_ = static_cast<int>(std::strtol(line.c_str(), &rest, 10));
    tlsPort_ = static_cast<int>(std::strtol(rest, nullptr, 10));
    if (port_ <= 0)
        throw std::runtime_error("the catalogue server did not start");
}

CatalogueServer::~CatalogueServer()
{
    close(toServer_);
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    std::remove(siteFile_.c_str());
}

std::string CatalogueServer::address(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string CatalogueServer::secureAddress(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(tlsPort_) + path;
}

nlohmann::json CatalogueServer::tls()
{
    return {{"cert", certificateFile()}, {"key", std::string(OSTROVIK_CATALOGUE_TLS "/loopback-key.pem")}};
}

std::string CatalogueServer::certificateFile()
{
    return OSTROVIK_CATALOGUE_TLS "/loopback-cert.pem";
}

std::string CatalogueServer::fileBody(const std::string& name, const std::string& file)
{
    std::string one = name + "/" + file + "\n";
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += one;
    return body;
}

CatalogueServer::Game CatalogueServer::plainGame(const std::string& name, const std::string& mark)
{
    return {name, "Title " + name, mark, "About " + name, {"screen1.png", "screen2.png", name + ".lvt"}, true};
}
