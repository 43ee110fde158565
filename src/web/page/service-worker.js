// @ts-check
/// <reference lib="webworker" />
// The page's service worker, a classic script served beside index.html as it is (not bundled). It keeps
// every file of one build of the site in a cache named for that build and answers from it first, so that
// the calculator starts with no network and never from files of two builds. The build writes the build's
// name (a hash of the site's files) and the list of those files in place of the two marks below; a new
// build is thus a new worker, which the browser installs beside the old one. It takes over when no page
// uses the old one any more, or when the one page that does is reloaded, and then drops the old cache.

const worker = /** @type {ServiceWorkerGlobalScope} */ (/** @type {unknown} */ (self));
const kCachePrefix = "vorn-build-calculator-";
const kCache = kCachePrefix + "@VORN_SITE_HASH@";
/** @type {string[]} the site's files, relative to this worker */
const kFiles = ["@VORN_SITE_FILES@"];
const kTakeOver = "take over";
// A character another app shares with the installed app (the manifest's share target) arrives as a form
// posted to kShareTarget. It is kept in a cache of its own, apart from the builds', until the page it
// is sent on to takes it up (app.js, with the same names).
const kShareTarget = "share-character";
const kSharedCache = "vorn-shared-character";
const kSharedFile = "shared-character";

worker.addEventListener("install", (event) => {
    // From the server itself: the browser's HTTP cache may still hold an older build's file.
    event.waitUntil(caches.open(kCache).then((cache) =>
        cache.addAll(kFiles.map((file) => new Request(file, { cache: "reload" })))));
});

// Pages open already keep the worker that loaded them (none, for the page that installed the first
// build: it has every file it needs, and the worker answers from its next load on). Claiming them would
// gain nothing, and WebKit may then never finish activating, holding every request to the site.
worker.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys().then((names) => Promise.all(
        names.filter((name) => name.startsWith(kCachePrefix) && name !== kCache).map((name) => caches.delete(name)))));
});

worker.addEventListener("message", (event) => {
    if (event.data === kTakeOver)
        worker.skipWaiting();
});

worker.addEventListener("fetch", (event) => {
    const request = event.request;
    const url = new URL(request.url);
    const scope = new URL(worker.registration.scope);
    if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname))
        return;
    // The site's folder is its page, as a web server shows it.
    const file = url.pathname.slice(scope.pathname.length) || "index.html";
    if (request.method === "POST" && file === kShareTarget) {
        event.respondWith(receiveShared(request));
        return;
    }
    if (request.method !== "GET")
        return;
    // Anything else is the network's.
    if (kFiles.includes(file))
        event.respondWith(answer(request, file));
});

// The moment's page while a newer build takes over: it loads the page again once the new build has
// finished taking over, not before. A load started while it is still taking over can be left waiting for
// good (Chromium), and one started while it still waits would only bring this page back. Should the word
// to take over be lost, the page asks again a few seconds on. An icon of its own, so that it asks the
// server for none.
const kTakingOver = `<!doctype html><link rel="icon" href="data:,"><script>
const again = () => location.reload();
setTimeout(again, 3000);
navigator.serviceWorker.getRegistration().then((registration) => {
    const next = registration && (registration.waiting || registration.active);
    if (!next)
        return again();
    const check = () => next === registration.active && next.state === "activated" && again();
    next.addEventListener("statechange", check);
    check();
}, again);
</script>`;

/**
 * A newer build waiting while the only page of this one is reloaded takes over first, and the reload
 * starts again from it: the old page is gone by then, and the new one loads whole from the new build.
 * @param {Request} request
 * @param {string} file
 */
async function answer(request, file) {
    const waiting = worker.registration.waiting;
    if (request.mode === "navigate" && waiting && (await worker.clients.matchAll()).length < 2) {
        waiting.postMessage(kTakeOver);
        return new Response(kTakingOver, { headers: { "Content-Type": "text/html" } });
    }
    const kept = await (await caches.open(kCache)).match(file);
    return kept ?? fetch(request);
}

/**
 * Keeps the character file of a shared form and sends the browser on to the page, which opens it. Shared
 * without a file (or with one the browser could not read), the page opens as it is.
 * @param {Request} request
 */
async function receiveShared(request) {
    try {
        const file = (await request.formData()).get("character");
        if (file instanceof File) {
            const cache = await caches.open(kSharedCache);
            await cache.put(kSharedFile, new Response(file, {
                headers: { "Content-Type": file.type || "application/octet-stream", "X-File-Name": encodeURIComponent(file.name) },
            }));
            return Response.redirect(new URL("index.html?shared", worker.registration.scope).href, 303);
        }
    } catch (e) {
        // Nothing kept: the page opens with its own character.
    }
    return Response.redirect(new URL("index.html", worker.registration.scope).href, 303);
}
