"""The tests' mail server: aiosmtpd on a loopback port. Prints the port, then a JSON line for
each mail it takes, decoded by Python's RFC 2047 decoder (which joins adjacent encoded words).
--answer ADDRESS=REPLY answers RCPT TO for ADDRESS with REPLY; --tls CERT KEY offers and
requires STARTTLS; --login USER:PASSWORD takes only those credentials; --port PORT listens there
(a server started again where a stopped one was) instead of on a free port."""
import argparse
import asyncio
import email
import json
import ssl
from email.header import decode_header, make_header

from aiosmtpd.smtp import SMTP, AuthResult

parser = argparse.ArgumentParser()
parser.add_argument("--answer", action="append", default=[])
parser.add_argument("--tls", nargs=2)
parser.add_argument("--login")
parser.add_argument("--port", type=int, default=0)
args = parser.parse_args()
answers = dict(a.split("=", 1) for a in args.answer)


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, options):
        if address in answers:
            return answers[address]
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.content.decode("ascii")  # a mail with 8-bit text fails here
        mail = email.message_from_string(raw)
        charset = mail.get_content_charset()
        print(json.dumps({
            "tls": session.ssl is not None,
            "rcpt": envelope.rcpt_tos,
            "headers": {k: str(make_header(decode_header(v))) for k, v in mail.items()},
            "body": mail.get_payload(decode=True).decode(charset).replace("\r\n", "\n"),
            "raw": raw,
        }, ensure_ascii=False), flush=True)
        return "250 2.0.0 queued"


def authenticate(server, session, envelope, mechanism, auth_data):
    given = "%s:%s" % (auth_data.login.decode(), auth_data.password.decode())
    return AuthResult(success=given == args.login, handled=False)


async def main():
    tls = None
    if args.tls:
        tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls.load_cert_chain(*args.tls)
    options = dict(hostname="mail.test", tls_context=tls, require_starttls=tls is not None)
    if args.login:
        options.update(authenticator=authenticate, auth_required=True,
                       auth_require_tls=tls is not None)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(Handler(), **options), "127.0.0.1", args.port,
                                      reuse_address=True)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
