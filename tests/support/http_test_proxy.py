"""Loopback forward proxy for the proxy tests: relays plain requests given in absolute form
("GET http://127.0.0.1:PORT/path") and tunnels CONNECT requests, to loopback hosts only, and
records each request line. GET /_proxied (asked directly, not through the proxy) answers the
record, one request line per CRLF-ended line. Python 3 standard library only."""

import select
import socket
import socketserver
import threading
import urllib.parse

LOOPBACK_HOSTS = ("127.0.0.1", "localhost")


def relay(a, b):
    """Copies bytes both ways until either side closes."""
    sockets = [a, b]
    while True:
        readable, _, _ = select.select(sockets, [], [], 30)
        if not readable:
            return
        for source in readable:
            data = source.recv(65536)
            if not data:
                return
            (b if source is a else a).sendall(data)


class ProxyHandler(socketserver.StreamRequestHandler):
    def handle(self):
        line = self.rfile.readline(65537).decode("latin-1").rstrip("\r\n")
        headers = []
        while True:
            header = self.rfile.readline(65537).decode("latin-1").rstrip("\r\n")
            if not header:
                break
            headers.append(header)
        parts = line.split(" ")
        if len(parts) != 3:
            return self._answer(400, b"bad request line\n")
        method, target, _ = parts
        if method == "GET" and target == "/_proxied":
            return self._answer(200, self.server.record_text())
        if method == "CONNECT":
            host, _, port = target.rpartition(":")
            path = None
        elif target.startswith("http://"):
            url = urllib.parse.urlsplit(target)
            host, port = url.hostname, url.port or 80
            path = (url.path or "/") + ("?" + url.query if url.query else "")
        else:
            return self._answer(400, b"not a proxy request\n")
        if host not in LOOPBACK_HOSTS or not str(port).isdigit():
            return self._answer(403, b"loopback only\n")
        self.server.record(line)
        try:
            upstream = socket.create_connection((host, int(port)), timeout=10)
        except OSError:
            return self._answer(502, b"no connection\n")
        upstream.settimeout(None)
        with upstream:
            if path is None:
                self.wfile.write(b"HTTP/1.1 200 Connection established\r\n\r\n")
                self.wfile.flush()
            else:
                kept = [h for h in headers
                        if h.split(":", 1)[0].strip().lower() not in ("connection", "proxy-connection")]
                request = "%s %s HTTP/1.1\r\n%sConnection: close\r\n\r\n" % (
                    method, path, "".join(h + "\r\n" for h in kept))
                upstream.sendall(request.encode("latin-1"))
            try:
                relay(self.connection, upstream)
            except OSError:
                pass

    def _answer(self, status, body):
        self.wfile.write(b"HTTP/1.1 %d Proxy\r\nContent-Type: text/plain\r\n"
                         b"Content-Length: %d\r\nConnection: close\r\n\r\n" % (status, len(body)))
        self.wfile.write(body)


class ProxyServer(socketserver.ThreadingTCPServer):
    daemon_threads = True

    def __init__(self, listener):
        super().__init__(listener.getsockname(), ProxyHandler, bind_and_activate=False)
        self.socket.close()
        self.socket = listener
        self.server_address = listener.getsockname()
        self._lock = threading.Lock()
        self._lines = []

    def record(self, line):
        with self._lock:
            self._lines.append(line)

    def record_text(self):
        with self._lock:
            return "".join(line + "\r\n" for line in self._lines).encode("latin-1")
