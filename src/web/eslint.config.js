// The page's modules and their unit tests: ESLint's recommended rules. Names are checked by the type
// check (tsc), which knows the browser's and node's globals.
import js from "@eslint/js";

export default [
    js.configs.recommended,
    {
        files: ["**/*.js"],
        languageOptions: { ecmaVersion: 2022, sourceType: "module" },
        rules: {
            "no-undef": "off",
            "no-unused-vars": ["error", { caughtErrors: "none" }],
            eqeqeq: "error",
            "prefer-const": "error",
        },
    },
];
