"""What the release tests share: failed checks gathered and reported at
the end, commands run with their output kept, and a code-signing
certificate made for the test."""
import os
import subprocess
import sys

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)
    return condition


def run(*command, **kw):
    return subprocess.run(list(command), capture_output=True, text=True, **kw)


def make_test_certificate(openssl, work, password):
    """A self-signed code-signing certificate in `work`: (cert.pem, cert.p12)."""
    key, cert, p12 = (os.path.join(work, n) for n in ("key.pem", "cert.pem", "cert.p12"))
    made = run(openssl, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
               "-days", "2", "-subj", "/CN=Vantaro test signing", "-addext", "extendedKeyUsage=codeSigning")
    if made.returncode != 0:
        sys.exit("openssl could not make the test certificate:\n" + made.stderr)
    exported = run(openssl, "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", p12,
                   "-passout", "pass:" + password)
    if exported.returncode != 0:
        sys.exit("openssl could not export the test certificate:\n" + exported.stderr)
    return cert, p12


def finish(what, passed):
    """Exits non-zero naming how many `what` checks failed, else prints `passed`."""
    if failures:
        sys.exit(f"{len(failures)} {what} failed")
    print(passed)
