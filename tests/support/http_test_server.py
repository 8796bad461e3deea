#!/usr/bin/env python3
"""Loopback HTTP server for the Windows tests: serves files and generated bodies, injects
faults on request and records every request. Python 3 standard library only.

The URL steers everything, so one instance serves every test; see README.md beside this file
for the grammar. Started by wine_run.sh; run by hand with
    python3 http_test_server.py --root DIR [--source DIR] [--port-file FILE] [--port N]
                                [--tls-dir DIR] [--proxy 1]
--tls-dir adds one TLS listener per certificate kind of that directory (make_test_certs.sh),
sharing the request record; --proxy 1 adds the loopback forward proxy (http_test_proxy.py).

The port is bound and announced before the request handling (and its imports) loads, so the
test program can start meanwhile; early connections wait in the listen queue.
"""

import os
import socket
import sys
import threading

USAGE = ("usage: http_test_server.py --root DIR [--source DIR] [--port N] [--port-file FILE]"
         " [--tls-dir DIR] [--proxy 1]")
# The TLS listeners' kinds, in the order their ports are announced: KIND.crt and KIND.key of
# the certificate directory (make_test_certs.sh).
TLS_KINDS = ("trusted", "wrong-name", "expired", "self-signed", "unknown-ca")


def parse_arguments(argv):
    options = {"--root": None, "--source": "", "--port": "0", "--port-file": None,
               "--tls-dir": None, "--proxy": None}
    position = 0
    while position < len(argv):
        name = argv[position]
        if name not in options or position + 1 >= len(argv):
            sys.exit(USAGE)
        options[name] = argv[position + 1]
        position += 2
    if options["--root"] is None:
        sys.exit(USAGE)
    return options


def loopback_listener():
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    sock.bind(("127.0.0.1", 0))
    sock.listen(64)
    return sock


def main():
    options = parse_arguments(sys.argv[1:])
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", int(options["--port"])))
    listener.listen(64)
    # Bound but never listening: connections to this port are refused at once, and no other
    # program can take the port while this process lives.
    refused = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    refused.bind(("127.0.0.1", 0))
    tls_listeners = [(kind, loopback_listener()) for kind in TLS_KINDS] if options["--tls-dir"] else []
    proxy_listener = loopback_listener() if options["--proxy"] else None

    port = listener.getsockname()[1]
    refused_port = refused.getsockname()[1]
    # Further listeners follow as NAME=PORT: tls-KIND=PORT for each kind, proxy=PORT.
    extra = "".join(" tls-%s=%d" % (kind, sock.getsockname()[1]) for kind, sock in tls_listeners)
    if proxy_listener:
        extra += " proxy=%d" % proxy_listener.getsockname()[1]
    port_file = options["--port-file"]
    if port_file:
        temporary = port_file + ".part"
        with open(temporary, "w") as file:
            file.write("%d %d%s\n" % (port, refused_port, extra))
        os.replace(temporary, port_file)  # readers never see half a line
    else:
        print("http://127.0.0.1:%d refused:%d%s" % (port, refused_port, extra), flush=True)

    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import http_test_handler
    request_log = http_test_handler.RequestLog()
    others = []
    if tls_listeners:
        import http_test_tls
        others += http_test_tls.make_servers(tls_listeners, options["--tls-dir"], options["--root"],
                                             options["--source"], request_log)
    if proxy_listener:
        import http_test_proxy
        others.append(http_test_proxy.ProxyServer(proxy_listener))
    for server in others:
        threading.Thread(target=server.serve_forever, args=(0.2,), daemon=True).start()
    http_test_handler.serve(listener, options["--root"], options["--source"], request_log)
    refused.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
