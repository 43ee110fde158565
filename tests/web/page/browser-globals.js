// @ts-check
// The browser's globals that the page's modules use and Node 18 does not give a program (Node 20 does):
// the same objects from Node's own modules. A test imports this before the module it tests.
import { File } from "node:buffer";
import { webcrypto } from "node:crypto";

globalThis.crypto ??= /** @type {Crypto} */ (webcrypto);
globalThis.File ??= /** @type {typeof globalThis.File} */ (File);
