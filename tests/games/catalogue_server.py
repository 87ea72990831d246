#!/usr/bin/env python3
"""A game catalogue on loopback for the downloader's tests.

Serves the site described by a JSON file in the shapes the downloader reads:
the start page with the game count, list pages of 50 rows, game pages with
the description, each game's files and the JSON list. Prints the port it
listens on, then serves until its standard input closes.

Site description members (all optional but "games"):
  count        text of the announced count (default: the number of games)
  games        [{"name", "title", "mark", "description", "files": [...],
                 "contents": {file: hex bytes}}]
  json         raw body of list.php (default: the games as a JSON array)
  raw          {"/path?query": {"status", "body", "body_hex", "content_type",
                                 "location", "stream"}}: "location" is sent as
               that header, "{tls}" in it replaced by the TLS port; "stream"
               {"piece", "every_ms", "length"} sends the piece again and again
               without end, every_ms apart, announcing "length" when given
  cut          {"/path?query": "head" | "body"}: the answer to that target
               breaks off inside its head (after "Content-Type: text/ht") or
               after the first half of the body its Content-Length announces
  tls          {"cert", "key"}: the same site also over HTTPS on a second
               port, printed after the first on the same line
  delay_ms     added to every answer
  answer_limit after this many answers, accept and never answer again
"""
import json
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HOST = "localhost"
HEAD = '\t  <th class="thTop" nowrap="nowrap">Mark</th>'
NAME_LINE = '\t  <td class="" align="center"><span class="gen"><a href="page.php?name='
NAME_END = '" class="gen">'
TITLE_END = "</a></span></td>"
RANK_LINE = '\t  <td class="" align="center"><span class="gen"><img src="http://' + HOST + "/ranks/rank"
RANK_END = '.gif"></span></td>'


def file_body(name, file):
    return ("%s/%s\n" % (name, file)).encode("utf-8") * 40


class Site:
    def __init__(self, spec):
        self.spec = spec
        self.games = spec.get("games", [])
        self.answers = 0
        self.tls_port = 0
        self.lock = threading.Lock()
        self.requests = []

    def start_page(self):
        count = self.spec.get("count", str(len(self.games)))
        return ("<html><body>\r\n<table><tr><td>\r\n"
                "<span class=\"maintitle\"><strong>Games</strong> [ total games:%4s ]</b>\r\n"
                "</td></tr></table>\r\n</body></html>\r\n" % count)

    def list_page(self, start):
        rows = ["<html><body>", "<table>", "<tr>", HEAD, "</tr>"]
        for g in self.games[start:start + 50]:
            rows += ["<tr>", NAME_LINE + g["name"] + NAME_END, g.get("title", g["name"]) + TITLE_END,
                     RANK_LINE + str(g.get("mark", "0")) + RANK_END, "</tr>"]
        rows += ["</table>", "</body></html>"]
        return "\r\n".join(rows) + "\r\n"

    def game_page(self, name):
        for g in self.games:
            if g["name"] == name and "description" in g:
                return ("<table><tr><td><img src=\"http://%s/games/%s/screen1.png\" /></td>\r\n"
                        "<td><img src=\"http://%s/games/%s/screen2.png\" width = 256 height = 256 /></td></tr>"
                        "<tr><td COLSPAN=3>\r\n%s</td></tr>\r\n</table>\r\n"
                        % (HOST, name, HOST, name, g["description"]))
        return "<html>no such game</html>\r\n"

    def json_list(self):
        if "json" in self.spec:
            return self.spec["json"]
        return json.dumps([{"Name": g["name"], "FullName": g.get("title", ""),
                            "Description": g.get("description", ""), "Mark": str(g.get("mark", "0"))}
                           for g in self.games], ensure_ascii=False)

    def answer(self, target):
        """(status, content type, body bytes) for a request target."""
        raw = self.spec.get("raw", {})
        if target in raw:
            r = raw[target]
            body = r.get("body", "")
            body = bytes.fromhex(r["body_hex"]) if "body_hex" in r else body.encode("utf-8")
            return r.get("status", 200), r.get("content_type", "text/html; charset=utf-8"), body
        url = urllib.parse.urlsplit(target)
        path = urllib.parse.unquote(url.path)
        query = urllib.parse.parse_qs(url.query)
        html = "text/html; charset=utf-8"
        if path == "/games/index.php" and "start" in query:
            return 200, html, self.list_page(int(query["start"][0])).encode("utf-8")
        if path == "/games/index.php":
            return 200, html, self.start_page().encode("utf-8")
        if path == "/games/page.php":
            return 200, html, self.game_page(query.get("name", [""])[0]).encode("utf-8")
        if path == "/games/list.php":
            return 200, "application/json; charset=utf-8", self.json_list().encode("utf-8")
        parts = path.split("/")
        if len(parts) == 4 and parts[1] == "games":
            for g in self.games:
                if g["name"] == parts[2] and parts[3] in g.get("contents", {}):
                    return 200, "application/octet-stream", bytes.fromhex(g["contents"][parts[3]])
                if g["name"] == parts[2] and parts[3] in g.get("files", []):
                    return 200, "application/octet-stream", file_body(parts[2], parts[3])
        return 404, html, b"<html><body>404 Not Found</body></html>"


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        site = self.server.site
        with site.lock:
            site.answers += 1
            number = site.answers
            site.requests.append(self.path)
        limit = site.spec.get("answer_limit")
        if limit is not None and number > limit:
            time.sleep(3600)
            return
        if self.path == "/hang":
            time.sleep(3600)
            return
        delay = site.spec.get("delay_ms", 0)
        if delay:
            time.sleep(delay / 1000.0)
        if self.path == "/cut":
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.write(b"x" * 5000)
            self.wfile.flush()
            return
        if self.path == "/echo":
            body = "".join("%s: %s\n" % (k, v) for k, v in self.headers.items())
            body = ("%s %s %s\n" % (self.command, self.path, self.request_version)) + body
            status, ctype, data = 200, "text/plain", body.encode("utf-8")
        else:
            status, ctype, data = site.answer(self.path)
        cut = site.spec.get("cut", {}).get(self.path)
        if cut == "head":
            self.wfile.write(b"HTTP/1.1 %d OK\r\nContent-Type: text/ht" % status)
            return
        if cut == "body":
            self.send_response(status)
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data[:len(data) // 2])
            return
        extra = site.spec.get("raw", {}).get(self.path, {})
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        if "location" in extra:
            self.send_header("Location", extra["location"].replace("{tls}", str(site.tls_port)))
        if "stream" in extra:
            self.stream(extra["stream"])
            return
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def stream(self, spec):
        if "length" in spec:
            self.send_header("Content-Length", str(spec["length"]))
        self.end_headers()
        piece = spec.get("piece", "x").encode("utf-8")
        pause = spec.get("every_ms", 0) / 1000.0
        try:
            while True:
                self.wfile.write(piece)
                self.wfile.flush()
                if pause:
                    time.sleep(pause)
        except OSError:
            pass  # the client went away


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        spec = json.load(f)
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.site = Site(spec)
    servers = [server]
    if "tls" in spec:
        secure = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        secure.daemon_threads = True
        secure.site = server.site
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(spec["tls"]["cert"], spec["tls"]["key"])
        secure.socket = context.wrap_socket(secure.socket, server_side=True)
        server.site.tls_port = secure.server_address[1]
        servers.append(secure)
    for s in servers:
        threading.Thread(target=s.serve_forever, daemon=True).start()
    print(" ".join(str(s.server_address[1]) for s in servers), flush=True)
    sys.stdin.read()
    for s in servers:
        s.shutdown()


if __name__ == "__main__":
    main()
