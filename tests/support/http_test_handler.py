"""Request handling of the loopback HTTP test server (see http_test_server.py and README.md):
resources, injected faults and the request record. Python 3 standard library only."""

import email.utils
import json
import os
import signal
import socket
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

REASONS = {200: "OK", 201: "Created", 204: "No Content", 301: "Moved Permanently",
           302: "Found", 304: "Not Modified", 400: "Bad Request", 403: "Forbidden",
           404: "Not Found", 500: "Internal Server Error", 503: "Service Unavailable"}


def generated_body(size, version=0):
    """The generated body: byte i is (i + version) mod 251 (a prime, so 10240-byte chunks
    differ); version 0 unless the body is `changing`."""
    pattern = bytes(range(251))
    pattern = pattern[version % 251:] + pattern[:version % 251]
    whole, rest = divmod(size, 251)
    return pattern * whole + pattern[:rest]


# Last-Modified of version 0 of every body; version K is K hours later.
LAST_MODIFIED_BASE = 1640995200  # 2022-01-01 00:00:00 UTC


def requests_as_lines(entries):
    """Each request as its request line ("GET /path?query"), its header lines
    ("Name: value") and an empty line: easy to read from C++."""
    lines = []
    for entry in entries:
        target = entry["path"] + ("?" + entry["query"] if entry["query"] else "")
        lines.append("%s %s" % (entry["method"], target))
        lines.extend("%s: %s" % (name, value) for name, value in entry["headers"])
        lines.append("")
    return ("\r\n".join(lines) + ("\r\n" if lines else "")).encode("latin-1", "replace")


def redirect_hops(path):
    """N of a /redirect/N/REST path with N >= 1, else None."""
    parts = path.split("/", 3)
    if len(parts) == 4 and parts[1] == "redirect" and parts[2].isdigit() and int(parts[2]) > 0:
        return int(parts[2])
    return None


class RequestLog:
    def __init__(self):
        self._lock = threading.Lock()
        self._entries = []
        self._seen = {}  # path?query -> requests so far, for `faults` and `changing`

    def add(self, entry):
        with self._lock:
            self._entries.append(entry)

    def select(self, token):
        with self._lock:
            if token is None:
                return list(self._entries)
            return [entry for entry in self._entries if entry["token"] == token]

    def clear(self):
        with self._lock:
            self._entries.clear()
            self._seen = {}

    def count(self, target):
        """How many requests for `target` (path?query) came before this one."""
        with self._lock:
            earlier = self._seen.get(target, 0)
            self._seen[target] = earlier + 1
            return earlier


class FaultOptions:
    """The query parameters that shape a response; see README.md."""

    def __init__(self, query):
        def number(name, default=None):
            values = query.get(name)
            return int(values[-1]) if values and values[-1] else default

        def text(name, default=None):
            values = query.get(name)
            return values[-1] if values else default

        self.location = text("location")
        self.status = number("status", 302 if self.location else 200)
        self.no_length = text("length") == "none"
        self.chunked = "chunked" in query
        self.chunk_size = number("chunked", 0) or 4096
        self.cut = number("cut")
        self.reset = number("reset")
        self.rate = number("rate")
        self.delay_ms = number("delay", 0)
        self.content_type = text("type", "application/octet-stream")
        self.token = text("token")
        # Appended options: resumable downloads and the faults that break them.
        self.stall = number("stall")
        self.hold_ms = number("hold", 120000)
        self.endless = "endless" in query
        self.faults = number("faults")
        self.ranges = text("ranges")  # None, "" (honour) or "ignore"
        self.etag = text("etag")
        self.last_modified = "lastmod" in query
        self.changing = "changing" in query


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "ZuTestServer/1"

    def log_message(self, format, *args):  # keep the test output clean
        pass

    def do_GET(self):
        self._serve(send_body=True)

    def do_HEAD(self):
        self._serve(send_body=False)

    def _serve(self, send_body):
        parsed = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True)
        path = urllib.parse.unquote(parsed.path)
        if path == "/_requests":
            token = query.get("token", [None])[-1]
            entries = self.server.request_log.select(token)
            if query.get("format", [""])[-1] == "lines":
                self._send_plain(200, requests_as_lines(entries), "text/plain")
            else:
                self._send_plain(200, json.dumps(entries).encode(), "application/json")
            return
        if path in ("/_seal", "/_unseal"):
            import http_test_seal
            folder = query.get("path", [""])[-1]
            if path == "/_seal":
                ok, detail = http_test_seal.seal(folder)
            else:
                ok, detail = http_test_seal.unseal(folder), "unsealed"
            self._send_plain(200 if ok else 503, (detail + "\n").encode(), "text/plain")
            return
        if path == "/_clear":
            self.server.request_log.clear()
            self._send_plain(200, b"cleared\n", "text/plain")
            return

        options = FaultOptions(query)
        self.server.request_log.add({
            "method": self.command,
            "path": path,
            "query": parsed.query,
            "token": options.token,
            "headers": [[name, value] for name, value in self.headers.items()],
        })
        earlier = self.server.request_log.count(self.path)
        version = earlier if options.changing else 0
        if options.faults is not None and earlier >= options.faults:
            options.cut = options.reset = options.stall = None  # served whole from now on
        body = self._body_for(path, version)
        hops = redirect_hops(path)
        if hops is not None:
            # /redirect/N/REST: N redirects (relative Locations) before /REST itself.
            rest = path.split("/", 3)[3]
            target = "/redirect/%d/%s" % (hops - 1, rest) if hops > 1 else "/" + rest
            options.location = urllib.parse.quote(target) + ("?" + parsed.query if parsed.query else "")
            if "status" not in query:
                options.status = 302
            body = b"moved\n"
        if body is None:
            self._send_plain(404, b"<html><body>no such resource</body></html>\n", "text/html")
            return
        if options.delay_ms:
            time.sleep(options.delay_ms / 1000.0)
        self._send_response(options, body, send_body, version)

    def _body_for(self, path, version):
        parts = path.split("/", 2)
        if len(parts) < 3:
            return None
        kind, rest = parts[1], parts[2]
        if kind == "bytes":
            return generated_body(int(rest), version) if rest.isdigit() else None
        if kind == "text":  # the text itself is the body
            return rest.encode("utf-8")
        roots = {"files": self.server.file_root, "source": self.server.source_root}
        root = roots.get(kind)
        if not root:
            return None
        full = os.path.realpath(os.path.join(root, rest))
        if not full.startswith(os.path.realpath(root) + os.sep) or not os.path.isfile(full):
            return None
        with open(full, "rb") as file:
            return file.read()

    def _send_plain(self, status, body, content_type):
        self.send_response(status, REASONS.get(status))
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def _validators(self, options, version):
        """The ETag and Last-Modified header values of this version of the body."""
        etag = None
        if options.etag is not None:
            etag = '"%s"' % (options.etag + ("-%d" % version if options.changing else ""))
        modified = None
        if options.last_modified:
            modified = email.utils.formatdate(LAST_MODIFIED_BASE + 3600 * version, usegmt=True)
        return etag, modified

    def _requested_range(self, options, body, etag, modified):
        """The first byte asked for by "Range: bytes=FIRST-[LAST]" when it is to be honoured
        (If-Range, when sent, must name the current version), else None."""
        if options.ranges != "" or options.endless:
            return None
        wanted = self.headers.get("Range", "")
        if not wanted.startswith("bytes=") or "," in wanted:
            return None
        condition = self.headers.get("If-Range")
        if condition is not None and condition not in (etag, modified):
            return None
        first, _, last = wanted[len("bytes="):].partition("-")
        if not first.isdigit() or (last and not last.isdigit()):
            return None
        return int(first), (int(last) if last else len(body) - 1)

    def _send_response(self, options, body, send_body, version=0):
        self.close_connection = True
        etag, modified = self._validators(options, version)
        status = options.status
        wanted = self._requested_range(options, body, etag, modified)
        if wanted is not None:
            first, last = wanted[0], min(wanted[1], len(body) - 1)
            if first >= len(body) or last < first:
                self._send_plain(416, b"", "text/plain")
                return
            content_range = "bytes %d-%d/%d" % (first, last, len(body))
            body = body[first:last + 1]
            status = 206
        self.send_response(status, REASONS.get(status, "Status"))
        self.send_header("Content-Type", options.content_type)
        self.send_header("Connection", "close")
        if options.ranges is not None:
            self.send_header("Accept-Ranges", "bytes")
        if etag:
            self.send_header("ETag", etag)
        if modified:
            self.send_header("Last-Modified", modified)
        if wanted is not None:
            self.send_header("Content-Range", content_range)
        if options.location:
            self.send_header("Location", options.location)
        if options.chunked:
            self.send_header("Transfer-Encoding", "chunked")
        elif not options.no_length and not options.endless:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.flush()
        if not send_body:
            return

        limit = len(body)
        for fault in (options.cut, options.reset, options.stall):
            if fault is not None:
                limit = min(limit, fault)
        try:
            if options.endless and body:
                while True:  # until the client goes away
                    self._send_body(body, options)
            self._send_body(body[:limit], options)
            if options.stall is not None:
                time.sleep(options.hold_ms / 1000.0)  # silent, the connection open
            if options.reset is not None:
                # A zero linger time makes close() send a reset instead of a clean end.
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                           struct.pack("ii", 1, 0))
                return
            if options.chunked and options.cut is None and options.stall is None:
                self.wfile.write(b"0\r\n\r\n")
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave up (a cancelled transfer); nothing to record

    def _send_body(self, data, options):
        piece = options.chunk_size if options.chunked else 65536
        interval = 0.0
        if options.rate:
            # About ten writes a second, each of rate/10 bytes.
            piece = max(1, options.rate // 10)
            interval = piece / float(options.rate)
        offset = 0
        while offset < len(data):
            part = data[offset:offset + piece]
            if options.chunked:
                self.wfile.write(b"%x\r\n" % len(part) + part + b"\r\n")
            else:
                self.wfile.write(part)
            self.wfile.flush()
            offset += len(part)
            if interval and offset < len(data):
                time.sleep(interval)


class TestServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


def make_server(listener, file_root, source_root, request_log, server_class=TestServer):
    """A server on an already listening socket; several may share one request log."""
    server = server_class(listener.getsockname(), Handler, bind_and_activate=False)
    server.socket.close()
    server.socket = listener
    server.server_address = listener.getsockname()
    server.server_name, server.server_port = server.server_address[:2]
    server.file_root = file_root
    server.source_root = source_root
    server.request_log = request_log
    return server


def serve(listener, file_root, source_root, request_log=None):
    """Serves on an already listening socket until the process is stopped."""
    server = make_server(listener, file_root, source_root, request_log or RequestLog())
    import http_test_seal
    http_test_seal.set_list_file(os.path.join(os.path.dirname(os.path.abspath(file_root)), "sealed"))
    # wine_run.sh stops the server with SIGTERM: the sealed folders are opened again first.
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(0))
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        http_test_seal.unseal_all()
        server.server_close()
