#!/usr/bin/env python3
"""Loopback HTTP server for the Windows tests: serves files and generated bodies, injects
faults on request and records every request. Python 3 standard library only.

The URL steers everything, so one instance serves every test; see README.md beside this file
for the grammar. Started by wine_run.sh; run by hand with
    python3 http_test_server.py --root DIR [--source DIR] [--port-file FILE] [--port N]

The port is bound and announced before the request handling (and its imports) loads, so the
test program can start meanwhile; early connections wait in the listen queue.
"""

import os
import socket
import sys

USAGE = "usage: http_test_server.py --root DIR [--source DIR] [--port N] [--port-file FILE]"


def parse_arguments(argv):
    options = {"--root": None, "--source": "", "--port": "0", "--port-file": None}
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

    port = listener.getsockname()[1]
    refused_port = refused.getsockname()[1]
    port_file = options["--port-file"]
    if port_file:
        temporary = port_file + ".part"
        with open(temporary, "w") as file:
            file.write("%d %d\n" % (port, refused_port))
        os.replace(temporary, port_file)  # readers never see half a line
    else:
        print("http://127.0.0.1:%d refused:%d" % (port, refused_port), flush=True)

    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import http_test_handler
    http_test_handler.serve(listener, options["--root"], options["--source"])
    refused.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
