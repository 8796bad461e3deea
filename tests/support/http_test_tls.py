"""TLS listeners of the loopback test server: the same request handling, fault grammar and
request record as the plain server, behind Python's ssl with one certificate per listener
(made by make_test_certs.sh). Python 3 standard library only."""

import os
import socket
import ssl

import http_test_handler

class TlsTestServer(http_test_handler.TestServer):
    """Wraps each accepted connection on its handler thread, so a client that never finishes
    the handshake holds up nobody else."""

    ssl_context = None

    def finish_request(self, request, client_address):
        request.settimeout(10)
        try:
            connection = self.ssl_context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return  # the client refused the certificate (or gave up): nothing to serve
        connection.settimeout(None)
        try:
            self.RequestHandlerClass(connection, client_address, self)
        except (ssl.SSLError, OSError):
            pass
        finally:
            try:
                connection.shutdown(socket.SHUT_WR)
            except OSError:
                pass
            connection.close()


def make_servers(listeners, certificate_dir, file_root, source_root, request_log):
    """One server per (kind, listener), each presenting its kind's certificate."""
    servers = []
    for kind, listener in listeners:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(certificate_dir, kind + ".crt"),
                                os.path.join(certificate_dir, kind + ".key"))
        server = http_test_handler.make_server(listener, file_root, source_root, request_log,
                                               TlsTestServer)
        server.ssl_context = context
        servers.append(server)
    return servers
