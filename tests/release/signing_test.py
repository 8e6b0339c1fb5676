#!/usr/bin/env python3
"""Signing with the build's own release step (cmake/ReleaseBinary.cmake) and
a certificate made for the test: both shipped programs verify, a changed
byte does not, and a missing or wrong password is refused by name without
touching the program.

signing_test.py --bin DIR --script ReleaseBinary.cmake --cmake TOOL
                --signtool TOOL --openssl TOOL --work DIR
"""
import argparse
import os
import shutil
import struct

from release_checks import check, finish, make_test_certificate, run

PASSWORD_ENV = "TRELVANE_TEST_SIGNING_PASSWORD"


def already_signed(program):
    """Whether the PE32 program's certificate table (data directory 4) is set."""
    (pe,) = struct.unpack_from("<I", program, 60)
    (size,) = struct.unpack_from("<I", program, pe + 24 + 96 + 4 * 8 + 4)
    return size != 0


def main():
    p = argparse.ArgumentParser()
    for option in ("--bin", "--script", "--cmake", "--signtool", "--openssl", "--work"):
        p.add_argument(option, required=True)
    args = p.parse_args()

    work = args.work
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    password = "test only, with blanks"
    cert, p12 = make_test_certificate(args.openssl, work, password)

    def sign(path, env_password):
        env = dict(os.environ)
        env.pop(PASSWORD_ENV, None)
        if env_password is not None:
            env[PASSWORD_ENV] = env_password
        return run(args.cmake, "-DFILE=" + path, "-DSTRIP=OFF", "-DCERT=" + p12, "-DSIGNTOOL=" + args.signtool,
                   "-DPASSWORD_ENV=" + PASSWORD_ENV, "-P", args.script, env=env)

    def verify(path):
        return run(args.signtool, "verify", "-CAfile", cert, "-in", path)

    for name in ("Uninstall.exe", "InstallTrelvane7.08g.exe"):
        copy = os.path.join(work, name)
        shutil.copyfile(os.path.join(args.bin, name), copy)
        with open(copy, "rb") as f:
            unsigned = f.read()

        # Refused by name, and the program left as it was.
        missing = sign(copy, None)
        check(missing.returncode != 0 and PASSWORD_ENV in missing.stderr,
              f"{name}: signing without the password did not name {PASSWORD_ENV}:\n{missing.stderr}")
        wrong = sign(copy, "not the password")
        check(wrong.returncode != 0 and "could not sign" in wrong.stderr,
              f"{name}: a wrong password was not refused:\n{wrong.stdout}{wrong.stderr}")
        with open(copy, "rb") as f:
            check(f.read() == unsigned, f"{name}: a refused signing changed the program")
        check(not [n for n in os.listdir(work) if n.startswith(".sign-")], "a password file was left behind")

        signed = sign(copy, password)
        if not check(signed.returncode == 0, f"{name}: signing failed:\n{signed.stdout}{signed.stderr}"):
            continue
        check(not [n for n in os.listdir(work) if n.startswith(".sign-")], "a password file was left behind")
        result = verify(copy)
        check(result.returncode == 0 and "Signature verification: ok" in result.stdout,
              f"{name}: the signature does not verify:\n{result.stdout}{result.stderr}")
        with open(copy, "rb") as f:
            signed_bytes = f.read()
        if not already_signed(unsigned):
            # Past the headers (whose checksum and certificate entry change)
            # the program is as it was, the signature appended.
            check(signed_bytes[0x400:len(unsigned)] == unsigned[0x400:] and len(signed_bytes) > len(unsigned),
                  f"{name}: signing did more than add a signature")

        # One changed byte of the code: the signature no longer holds.
        tampered = os.path.join(work, "tampered-" + name)
        data = bytearray(signed_bytes)
        data[0x600] ^= 0xFF
        with open(tampered, "wb") as f:
            f.write(data)
        check(verify(tampered).returncode != 0, f"{name}: a changed program still verifies")

    finish("signing check(s)", "both programs signed and verified with a test certificate")


if __name__ == "__main__":
    main()
