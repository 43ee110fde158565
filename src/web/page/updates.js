// @ts-check
// The page keeps working with no network once the browser has it: served from a web server, it has a
// service worker (service-worker.js) keep every file of the build and answer from them. Opened from
// disk it has none and works as it always did. A newer build found while the page is open waits for the
// page's next load; the page says so, with a button that reloads it, and never reloads by itself, for
// the user may be in the middle of a change. (An installed app has no reload button of its own.)
import { byId } from "./focus.js";

const kReady = "A new version is ready \u2014 reload to use it";
const kReload = "Reload";

// The notice, said once: a status is read out whenever it changes.
function sayReady() {
    const notice = byId("updateNotice");
    if (notice.firstChild)
        return;
    const reload = document.createElement("button");
    reload.type = "button";
    reload.id = "cmdReloadUpdate";
    reload.textContent = kReload;
    // The character is kept as the page is left, and comes back with the new version.
    reload.addEventListener("click", () => location.reload());
    notice.replaceChildren(kReady + " ", reload);
}

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
            sayReady();
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
