// @ts-check
// The character in the browser's storage: kept within a second of every change, for the next visit and the
// other tabs of the page, and at once when the page is hidden or left; brought back when the page starts;
// and followed as another tab changes it. A browser that won't keep it is said so once, in the page,
// until it keeps it again.
import * as VornDialogs from "./dialogs.js";
import { byId } from "./focus.js";
import * as VornStorage from "./storage.js";

/**
 * @typedef {import("./calculator.js").Calculator} Calculator
 * @typedef {import("./storage.js").Kept} Kept
 * @typedef {ReturnType<typeof import("./characters.js").characterCommands>} CharacterCommands
 */

/**
 * @param {Calculator} calculator
 * @param {Pick<CharacterCommands, "maySetCharacterAside" | "write">} commands
 */
export function tabs(calculator, commands) {
    const { session } = calculator;
    // Set while the page takes the character kept in storage, which needs no keeping again.
    let taking = false;

    // The character as the page shows it, as the storage keeps it.
    /** @type {import("./storage.js").Source} */
    const source = {
        change: (all) => session.keeping(calculator.boxes(), all),
        written: () => session.keptWritten(),
        holds: () => session.holdsKept(calculator.boxes()),
        asItIs: () => session.keptAsItIs(calculator.boxes()),
        text: () => session.save(calculator.boxes()),
        meta: () => ({ fileName: calculator.state.fileName || null, modified: calculator.state.needsSaveQuestion }),
    };
    function current() {
        return { text: source.text(), ...source.meta() };
    }

    // Tabs of the page show one character: what another tab keeps, this one shows at once. Unsaved work
    // here that the other tab's character was not made from is offered for saving first; Cancel keeps it
    // here, apart from that tab's later changes, and in the tab's own storage, where that tab's keeping
    // can't replace it: a reload of this tab brings it back. While a box is open here, the character waits
    // for it. While the question is asked, this tab keeps nothing in the shared storage, where the other
    // tab's character waits for the answer.
    const elsewhere = { waiting: false, declined: "", asking: false, again: false,
                        following: /** @type {Promise<void> | null} */ (null) };

    const keeping = VornStorage.keepingSoon(async () => {
        if (elsewhere.asking)
            return;
        const kept = await VornStorage.keep(source);
        const notice = kept ? ""
            : "This browser is not keeping the newest changes to this character; save it to a file to keep them.";
        // Written only when it changes, so that a status is read out once.
        if (byId("keepingNotice").textContent !== notice)
            byId("keepingNotice").textContent = notice;
    }, { set: (run, ms) => setTimeout(run, ms), clear: (timer) => clearTimeout(/** @type {number} */ (timer)) }, 1000);

    function keepCharacter() {
        if (!taking)
            keeping.changed();
    }

    // Shows the character kept in storage (from the last visit, or just now by another tab); the answer
    // of session.openKept, whose problem is set when it can't be brought back.
    /** @param {Kept} kept */
    function take(kept) {
        const read = session.openKept(VornStorage.bytesOf(kept.text ?? ""), kept.fileName ?? "", kept.modified);
        if (!read.choices)
            return read;
        VornStorage.shows(kept);
        keeping.drop();
        taking = true;
        try {
            calculator.showChoicesOf(read.choices);
        } finally {
            taking = false;
        }
        return read;
    }

    // Whether the page shows changes the storage doesn't hold yet. A keeping may wait with nothing new to
    // keep (the page's own start, a character taken, a box left as it was): that is no work of the player's.
    function unkept() {
        return !VornStorage.holds(source);
    }

    // The character kept from the last visit, if any; a damaged one is dropped, and its problem said once.
    // A tab reloaded after its player kept its own character rather than another tab's shows its own.
    // A character written whole as a page was left, or kept before the page had its database, moves
    // into the database at once.
    async function restoreKept() {
        const own = VornStorage.own();
        if (own) {
            const read = session.openKept(VornStorage.bytesOf(own.text), own.fileName ?? "", own.modified);
            if (read.choices) {
                VornStorage.showsOwn(own);
                keeping.drop();
                calculator.showChoicesOf(read.choices);
                // Kept in the tab's own storage: the shared one gets it with the next change.
                source.asItIs();
                return { restored: true, problem: "" };
            }
        }
        const kept = await VornStorage.kept();
        if (kept.text === null)
            return { restored: false, problem: "" };
        const read = take(kept);
        if (!read.choices) {
            VornStorage.forget();
            return { restored: false, problem: read.problem };
        }
        if (kept.left) {
            VornStorage.writeAgain();
            keeping.changed();
        }
        return { restored: true, problem: "" };
    }

    // The page shows the character it starts with, having none kept to bring back.
    function startAfresh() {
        keeping.drop();
        source.asItIs();
        VornStorage.startsWith(source.meta());
    }

    // One following at a time: another tab's keepings heard meanwhile are followed once it is done, so
    // that its player is asked one question, about the latest.
    function followElsewhere() {
        if (elsewhere.following) {
            elsewhere.again = true;
            return elsewhere.following;
        }
        elsewhere.following = (async () => {
            do {
                elsewhere.again = false;
                await followOnce();
            } while (elsewhere.again);
        })().finally(() => {
            elsewhere.following = null;
        });
        return elsewhere.following;
    }

    async function followOnce() {
        if (VornDialogs.anyOpen()) {
            elsewhere.waiting = true;
            return;
        }
        elsewhere.waiting = false;
        let kept = await VornStorage.kept();
        if (kept.text === null) {
            // Emptied, by a tab whose character the storage refused, say: this one's is kept in its place.
            VornStorage.lost();
            session.keptLost();
            keepCharacter();
            return;
        }
        if (kept.isShown) {
            VornStorage.shows(kept);
            return;
        }
        const declined = elsewhere.declined;
        if (declined !== "" && (kept.revision === declined || kept.madeFrom === declined)) {
            elsewhere.declined = kept.revision;
            return;
        }
        // Changes here not yet kept are not in the other tab's character either.
        if (!kept.madeFromShown || unkept()) {
            elsewhere.asking = true;
            let mayGo = false;
            try {
                mayGo = await commands.maySetCharacterAside(async () => !!(await commands.write(false)));
            } finally {
                elsewhere.asking = false;
            }
            if (!mayGo) {
                elsewhere.declined = (await VornStorage.kept()).revision;
                VornStorage.keepApart(current());
                return;
            }
            // The other tab may have kept more while the question was open.
            kept = await VornStorage.kept();
            if (kept.text === null || kept.isShown)
                return;
        }
        take(kept);
    }

    function followOtherTabs() {
        VornStorage.onKeptElsewhere(followElsewhere);
        // Another tab shown in this one's place, or the page left: what waits to be kept is kept now, and
        // written whole at once, for the database may not finish before the page goes. Both events come
        // as a page goes, in either order, and a cell's edit ends on the first: the second keeps it.
        const keepAtOnce = () => {
            if (elsewhere.asking)
                return;
            keeping.now();
            VornStorage.leave(source);
        };
        window.addEventListener("pagehide", keepAtOnce);
        document.addEventListener("visibilitychange", () => {
            if (document.visibilityState === "hidden")
                keepAtOnce();
        });
        // Work that neither the storage nor a file holds is lost with the page: the browser asks first.
        window.addEventListener("beforeunload", (event) => {
            if (VornStorage.mustWarnOnLeaving(keepAtOnce, () => calculator.state.needsSaveQuestion,
                                              () => VornStorage.keepsShown(source))) {
                event.preventDefault();
                event.returnValue = "";
            }
        });
        // A box closing may leave another open in its place; the character waits for the last one.
        document.addEventListener("close", () => setTimeout(() => {
            if (elsewhere.waiting)
                followElsewhere();
        }, 0), true);
    }

    return { keepCharacter, restoreKept, startAfresh, followOtherTabs };
}
