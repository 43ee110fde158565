// @ts-check
// The page keeps working with no network once the browser has it: served from a web server, it has a
// service worker (service-worker.js) keep every file of the build and answer from them. Opened from
// disk it has none and works as it always did. A newer build found while the page is open waits for the
// page's next load; the page says so and never reloads by itself, for the user may be in the middle of
// a change.
import { byId } from "./focus.js";

const kReady = "A new version is ready \u2014 reload to use it";

export function start() {
    if (!("serviceWorker" in navigator) || !(location.protocol === "http:" || location.protocol === "https:"))
        return;
    navigator.serviceWorker.register("service-worker.js").then(watch, () => {
        // A browser that keeps no workers (a private window, say) shows the page all the same.
    });
}

/** @param {ServiceWorkerRegistration} registration */
function watch(registration) {
    // Only a page that an older build answers has anything to replace.
    const sayIfWaiting = () => {
        if (registration.waiting && navigator.serviceWorker.controller)
            byId("updateNotice").textContent = kReady;
    };
    /** @param {ServiceWorker | null} installing */
    const follow = (installing) => installing?.addEventListener("statechange", sayIfWaiting);
    sayIfWaiting();
    follow(registration.installing);
    registration.addEventListener("updatefound", () => follow(registration.installing));
    // A page left open (an installed app brought back, say) asks for a newer build when it is shown again.
    document.addEventListener("visibilitychange", () => {
        if (document.visibilityState === "visible" && navigator.onLine)
            registration.update().catch(() => {});
    });
}
