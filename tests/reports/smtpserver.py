#!/usr/bin/python3
"""A local SMTP server for the statement mail tests.

Usage: smtpserver.py FOLDER. Prints the port it listens on, then keeps every message it takes as
FOLDER/NNN.eml until its standard input closes. Recipients whose address starts with "refuse@" are
refused with 550, as a server refuses an unknown mailbox.
"""
import os
import socket
import sys

from aiosmtpd.controller import Controller


class Handler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refuse@"):
            return "550 5.1.1 No such mailbox here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, "%03d.eml" % self.count)
        with open(path + ".part", "wb") as out:
            out.write(b"X-Envelope-To: " + ",".join(envelope.rcpt_tos).encode() + b"\r\n")
            out.write(envelope.original_content or envelope.content)
        os.rename(path + ".part", path)
        return "250 Message accepted"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    port = free_port()
    controller = Controller(Handler(sys.argv[1]), hostname="127.0.0.1", port=port)
    controller.start()
    print(port, flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
