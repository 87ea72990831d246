#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

/// The loopback catalogue of catalogue_server.py, started for one test on a
/// free port and ended with it.
class CatalogueServer {
public:
    /// One game of the site; @p files are the files it serves.
    struct Game {
        std::string name, title, mark, description;
        std::vector<std::string> files;
        bool hasPage = true;
        /// Files served with these bytes instead of the usual text.
        std::map<std::string, std::string> contents = {};
    };

    /// A site of @p games; @p extra adds members of the site description
    /// (count, json, raw, cut, delay_ms, answer_limit, tls).
    explicit CatalogueServer(const std::vector<Game>& games, nlohmann::json extra = nlohmann::json::object());
    ~CatalogueServer();
    CatalogueServer(const CatalogueServer&) = delete;
    CatalogueServer& operator=(const CatalogueServer&) = delete;

    int port() const { return port_; }
    /// "http://127.0.0.1:<port>" followed by @p path.
    std::string address(const std::string& path = "/") const;
    /// "https://127.0.0.1:<TLS port>" followed by @p path, for a site
    /// started with the "tls" member.
    std::string secureAddress(const std::string& path) const;
    /// The "tls" member: the loopback certificate and its key.
    static nlohmann::json tls();
    /// The loopback certificate (for 127.0.0.1), to trust.
    static std::string certificateFile();
    /// The games folder's address, with its "/".
    std::string games() const { return address("/games/"); }

    /// The body the server sends for @p file of the game @p name.
    static std::string fileBody(const std::string& name, const std::string& file);

    /// A game with screenshots, an .lvt and a description.
    static Game plainGame(const std::string& name, const std::string& mark = "7");

private:
    int pid_ = -1;
    int toServer_ = -1;
    int port_ = 0;
    int tlsPort_ = 0;
    std::string siteFile_;
};
