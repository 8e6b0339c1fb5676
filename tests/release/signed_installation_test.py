#!/usr/bin/env python3
"""The uninstaller a signed installer carries, and an installation extracts,
is the signed one: Uninstall.exe is signed with the build's own release step
(cmake/ReleaseBinary.cmake) and a certificate made for the test, packed with
the build's manifest and packager, put into a copy of the installer
(replace_package, under Wine), and that copy signed. Both signatures verify;
the copy installs quietly into a scratch folder, the Uninstall.exe it
places verifies and is byte for byte the signed one, and it removes the
installation again.

signed_installation_test.py --bin DIR --script ReleaseBinary.cmake --cmake TOOL
    --signtool TOOL --openssl TOOL --packager TOOL --manifest FILE --payload DIR
    --replace EXE --wine wine-run.sh --prefix WINEPREFIX --work DIR
"""
import argparse
import os
import shutil
import sys

from release_checks import check, failures, finish, make_test_certificate, run

PASSWORD_ENV = "TRELVANE_TEST_SIGNING_PASSWORD"
PASSWORD = "test only"
SCRATCH = "release signing test"  # under the prefix's C:\
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    p = argparse.ArgumentParser()
    for option in ("--bin", "--script", "--cmake", "--signtool", "--openssl", "--packager", "--manifest",
                   "--payload", "--replace", "--wine", "--prefix", "--work"):
        p.add_argument(option, required=True)
    args = p.parse_args()

    work = args.work
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    cert, p12 = make_test_certificate(args.openssl, work, PASSWORD)

    def sign(path):
        env = dict(os.environ, **{PASSWORD_ENV: PASSWORD})
        done = run(args.cmake, "-DFILE=" + path, "-DSTRIP=OFF", "-DCERT=" + p12, "-DSIGNTOOL=" + args.signtool,
                   "-DPASSWORD_ENV=" + PASSWORD_ENV, "-P", args.script, env=env)
        if done.returncode != 0:
            sys.exit(f"signing {path} failed:\n{done.stdout}{done.stderr}")

    def verifies(path):
        result = run(args.signtool, "verify", "-CAfile", cert, "-in", path)
        return result.returncode == 0 and "Signature verification: ok" in result.stdout

    # The payload as the build made it, with a signed uninstaller, packed
    # from the build's manifest.
    payload = os.path.join(work, "payload")
    shutil.copytree(args.payload, payload)
    uninstaller = os.path.join(payload, "Uninstall.exe")
    shutil.copyfile(os.path.join(args.bin, "Uninstall.exe"), uninstaller)
    sign(uninstaller)
    check(verifies(uninstaller), "the signed Uninstall.exe does not verify")
    signed_uninstaller = read(uninstaller)
    package = os.path.join(work, "signed.pkg")
    packed = run(args.packager, "build", args.manifest, package, "--source-dir", payload)
    if packed.returncode != 0:
        sys.exit("the packager refused:\n" + packed.stdout + packed.stderr)

    installer = os.path.join(work, "InstallTrelvane7.08g.exe")
    replaced = run(args.wine, args.replace, windows_path(os.path.join(args.bin, "InstallTrelvane7.08g.exe")),
                   windows_path(installer), windows_path(package))
    if replaced.returncode != 0:
        sys.exit("replace_package failed:\n" + replaced.stdout + replaced.stderr)
    check(read(package) in read(installer), "the installer copy does not carry the signed package")
    sign(installer)
    check(verifies(installer), "the signed installer does not verify")
    check(read(package) in read(installer), "signing the installer changed its package")

    # Install quietly into a scratch folder of the prefix, then remove.
    def registered():
        return run(args.wine, "reg", "query", UNINSTALL_KEY, "/reg:32").returncode == 0

    if registered():
        sys.exit("the prefix already holds an installation (left by an earlier run?); "
                 "this test installs only into a prefix without one")
    scratch = os.path.join(args.prefix, "drive_c", SCRATCH)
    shutil.rmtree(scratch, ignore_errors=True)
    folder = os.path.join(scratch, "Trelvane")
    log = os.path.join(scratch, "install.log")
    os.makedirs(scratch)
    win_folder = "C:\\" + SCRATCH + "\\Trelvane"
    installed = run(args.wine, installer, "/quiet", "/dir=" + win_folder, "/nostartmenu", "/nodesktop",
                    "/log=C:\\" + SCRATCH + "\\install.log")
    log_text = open(log, encoding="utf-8", errors="replace").read() if os.path.exists(log) else "(no log)"
    if not check(installed.returncode == 0, f"the quiet installation ended with {installed.returncode}:\n{log_text}"):
        sys.exit(f"{len(failures)} check(s) failed")
    check(registered(), "the installation wrote no uninstall key")
    extracted = os.path.join(folder, "Uninstall.exe")
    if check(os.path.exists(extracted), "the installation placed no Uninstall.exe"):
        check(read(extracted) == signed_uninstaller, "the extracted Uninstall.exe is not the signed one")
        check(verifies(extracted), "the extracted Uninstall.exe does not verify")

        removed = run(args.wine, extracted, "/quiet")
        check(removed.returncode in (0, 3010), f"the quiet removal ended with {removed.returncode}")
        # The uninstaller's copy in the temporary folder finishes the removal
        # after the first process ends: wait until the prefix's programs have.
        run("wineserver", "-w", env=dict(os.environ, WINEPREFIX=args.prefix))
        check(not os.path.exists(extracted), "the quiet removal left Uninstall.exe")
        check(not registered(), "the quiet removal left the uninstall key")
    shutil.rmtree(scratch, ignore_errors=True)

    finish("check(s)", "the signed installer installed its signed uninstaller, which removed the installation")


if __name__ == "__main__":
    main()
