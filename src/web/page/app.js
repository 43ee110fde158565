// @ts-check
// The page as an installed app: its manifest, and the characters the system hands it. The manifest is
// named only where a web server serves the page: opened from disk, the browser may not read it and says
// so in its console, and there is no app to install anyway. An installed app opens a character file
// two ways besides File → Open: its file handlers (manifest.webmanifest; Chromium on a computer) bring a
// double-clicked .vornchar through the browser's launch queue, and its share target (Chromium on
// Android) brings one that another app shares, which the service worker (service-worker.js) keeps for
// the page to take up once it has loaded. Either way the file is opened as Open opens a picked one,
// after the same question about unsaved work.
import { anyOpen } from "./dialogs.js";

/**
 * A file the browser's launch queue hands over, as the file handlers give it (a FileSystemFileHandle).
 * @typedef {import("./files.js").FileHandle & {kind?: string}} LaunchedFile
 * @typedef {{files?: readonly LaunchedFile[]}} LaunchParams
 * @typedef {{setConsumer(consumer: (params: LaunchParams) => unknown): void}} LaunchQueue
 * @typedef {(given: File | import("./files.js").FileHandle) => Promise<boolean>} OpenGiven
 */

// Where the service worker keeps a shared character until the page takes it, and the word in the page's
// address that says one waits there: the same as in service-worker.js.
const kSharedCache = "vorn-shared-character";
const kSharedFile = "shared-character";
const kSharedMark = "shared";

/** @param {Location} where */
const served = (where) => where.protocol === "http:" || where.protocol === "https:";

/** Names the app's manifest where the page is served. @param {Document} doc @param {Location} where */
export function linkManifest(doc = document, where = location) {
    if (!served(where) || doc.querySelector("link[rel=manifest]"))
        return;
    const link = doc.createElement("link");
    link.rel = "manifest";
    link.href = "manifest.webmanifest";
    doc.head.append(link);
}

// Resolves once no box of the page is open: a character does not change under an open History or Plan
// Ahead, nor under a message still to be answered.
function whenNoBoxOpen() {
    return new Promise((resolve) => {
        const check = () => {
            if (anyOpen())
                return;
            document.removeEventListener("close", later, true);
            resolve(undefined);
        };
        const later = () => setTimeout(check, 0);
        document.addEventListener("close", later, true);
        check();
    });
}

/**
 * Opens the files the system launches the installed app with: the first of them, for the page holds one
 * character. Where the browser has no launch queue nothing happens.
 * @param {LaunchQueue | undefined} launchQueue
 * @param {OpenGiven} open
 */
export function openLaunched(launchQueue, open) {
    if (!launchQueue || typeof launchQueue.setConsumer !== "function")
        return;
    launchQueue.setConsumer(async (params) => {
        const file = params.files?.find((handle) => handle.kind !== "directory");
        if (!file)
            return;
        await whenNoBoxOpen();
        await open(file);
    });
}

/**
 * Opens a character another app shared, where the service worker keeps one for this load of the page.
 * The mark leaves the address at once, so that a reload does not bring the file again.
 * @param {OpenGiven} open
 */
export async function openShared(open) {
    const address = new URL(location.href);
    if (!address.searchParams.has(kSharedMark))
        return;
    address.searchParams.delete(kSharedMark);
    history.replaceState(history.state, "", address.href);
    if (typeof caches === "undefined")
        return;
    let file = null;
    try {
        const cache = await caches.open(kSharedCache);
        const kept = await cache.match(kSharedFile);
        await cache.delete(kSharedFile);
        if (kept)
            file = new File([await kept.arrayBuffer()], decodeURIComponent(kept.headers.get("X-File-Name") ?? ""),
                            { type: kept.headers.get("Content-Type") ?? "" });
    } catch (e) {
        // A browser that keeps nothing for the page has nothing shared to give.
    }
    if (file) {
        await whenNoBoxOpen();
        await open(file);
    }
}
