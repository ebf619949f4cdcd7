#!/usr/bin/env python3
"""A local HTTP (or, with --cert and --key, HTTPS) server for the request
tests. Listens on 127.0.0.1 at a free port, prints the port on one line and
serves until killed.

  /hello          200 "hello" with its length
  /echo           the request line, the headers and then the body, as text
  /empty          200 with an empty body
  /big            200,000 bytes with their length announced
  /stream         200,000 bytes without a length (the connection closes)
  /huge           announces 64 MiB + 10 bytes and sends them
  /redirect       302 to /hello
  /loop           302 to itself
  /missing        404 "not here"
  /slow?ms=N      waits N milliseconds, then "slow"
  /hang           accepts and never answers
  /drip?n=N&ms=M  announces N bytes, then sends them one at a time, M
                  milliseconds apart (the first after M too)
  /to?url=U       302 to U as given
  /strip.png      a 6 by 2 PNG: three 2 by 2 images, red, green and blue
"""
import http.server
import socketserver
import ssl
import sys
import time
import urllib.parse
import struct
import zlib


def pattern(n):
    return bytes((i * 7 + 3) % 251 + 1 for i in range(n))


def strip_png():
    colours = [b"\xff\x00\x00\xff", b"\x00\xff\x00\xff", b"\x00\x00\xff\xff"]
    row = b"\x00" + b"".join(colours[x // 2] for x in range(6))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 6, 2, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(row * 2)) + chunk(b"IEND", b""))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    # Replies go out at once, not held back waiting for an acknowledgement.
    disable_nagle_algorithm = True

    def log_message(self, *args):
        pass

    def send(self, code, body, length=True, extra=()):
        self.send_response(code)
        for k, v in extra:
            self.send_header(k, v)
        if length:
            self.send_header("Content-Length", str(len(body)))
        else:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlparse(self.path)
        query = urllib.parse.parse_qs(url.query)
        p = url.path
        if p == "/hello":
            self.send(200, b"hello")
        elif p == "/echo":
            self.echo(b"")
        elif p == "/empty":
            self.send(200, b"")
        elif p == "/big":
            self.send(200, pattern(200000))
        elif p == "/stream":
            self.send(200, pattern(200000), length=False)
        elif p == "/huge":
            self.send(200, b"h" * (64 * 1024 * 1024 + 10))
        elif p == "/redirect":
            self.send(302, b"moved", extra=[("Location", "/hello")])
        elif p == "/loop":
            self.send(302, b"again", extra=[("Location", "/loop")])
        elif p == "/slow":
            time.sleep(int(query.get("ms", ["1000"])[0]) / 1000.0)
            self.send(200, b"slow")
        elif p == "/hang":
            time.sleep(30)
        elif p == "/drip":
            self.drip(int(query.get("n", ["1"])[0]), int(query.get("ms", ["1000"])[0]) / 1000.0)
        elif p == "/to":
            self.send(302, b"moved", extra=[("Location", query.get("url", ["/hello"])[0])])
        elif p == "/strip.png":
            self.send(200, strip_png())
        else:
            self.send(404, b"not here")

    def drip(self, n, gap):
        self.send_response(200)
        self.send_header("Content-Length", str(n))
        self.end_headers()
        self.wfile.flush()
        for _ in range(n):
            time.sleep(gap)
            try:
                self.wfile.write(b"d")
                self.wfile.flush()
            except OSError:  # the client gave up
                return

    def do_POST(self):
        n = int(self.headers.get("Content-Length", "0"))
        self.echo(self.rfile.read(n))

    def echo(self, body):
        text = self.requestline.encode() + b"\n" + bytes(self.headers) + body
        self.send(200, text)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    request_queue_size = 128


def main():
    server = Server(("127.0.0.1", 0), Handler)
    if "--cert" in sys.argv:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[sys.argv.index("--cert") + 1], sys.argv[sys.argv.index("--key") + 1])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
