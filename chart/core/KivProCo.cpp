// The second block of the chart engine's texts.
//
// Tested by: chart/tests/KivConstTest.cpp
#include "chart/core/KivProCo.h"

#include <array>

namespace chart {

namespace {

const std::array<std::string, KivProMessageCount>& Texts() {
  static const std::array<std::string, KivProMessageCount> table = {
    "Polar",  // 264
    "Candle",  // 265
    "Volume",  // 266
    "Surface",  // 267
    "Contour",  // 268
    "Bezier",  // 269
    "Point 3D",  // 270
    "Radar",  // 271
    "Donut",  // 272
    "Cursor",  // 273
    "Bar 3D",  // 274
    "Big Candle",  // 275
    "Line Point",  // 276
    "Histogram",  // 277
    "Water Fall",  // 278
    "Wind Rose",  // 279
    "Clock",  // 280
    "Color Grid",  // 281
    "BoxPlot",  // 282
    "Horizontal\rBoxPlot",  // 283
    "Bar Join",  // 284
    "Smith",  // 285
    "Pyramid",  // 286
    "Map",  // 287
    "Polynomial degree must be between 1 and 20",  // 288
    "Answer Vector index must be between 1 and %d",  // 289
    "Cannot process fitting",  // 290
    "Period must be >= 0",  // 291
    "ExpAverage Weight must be between 0 and 1",  // 292
    "Error Bar",  // 293
    "Error",  // 294
    "High-Low",  // 295
    "Momentum",  // 296
    "Momentum\rDivision",  // 297
    "Exponential\rAverage",  // 298
    "Moving\rAverage",  // 299
    "Exp.Moving\rAverage",  // 300
    "R.S.I.",  // 301
    "Curve Fitting",  // 302
    "Trend",  // 303
    "Exponential\rTrend",  // 304
    "Logarithmic\rTrend",  // 305
    "Cumulative",  // 306
    "Standard\rDeviation",  // 307
    "Bollinger\rbands",  // 308
    "Root Mean\rSquare",  // 309
    "MACD",  // 310
    "Stochastic",  // 311
    "ADX",  // 312
    "Count",  // 313
    "Open Kiv...",  // 314
    "Save Kiv...",  // 315
    "Kiv Pro files",  // 316
    "Other",  // 317
    "Stats",  // 318
    "Cannot find Series editor Form: %s",  // 319
    "Date",  // 320
    "Open",  // 321
    "High",  // 322
    "Low",  // 323
    "Close",  // 324
    "Offset",  // 325
    "StdError",  // 326
    "Grid 3D",  // 327
    "Number of Bezier points should be > 1",  // 328
    "Normal",  // 329
    "Edit",  // 330
    "Print",  // 331
    "Copy",  // 332
    "Save",  // 333
    "3D",  // 334
    "Rotation: %d° Elevation: %d°",  // 335
    "Rotate",  // 336
    "Horiz.Offset: %d Vert.Offset: %d",  // 337
    "Move",  // 338
    "Zoom: %d %%",  // 339
    "Zoom",  // 340
    "3D: %d %%",  // 341
    "Depth",  // 342
    "Chart",  // 343
    "Panel",  // 344
    "Drag %s to Rotate",  // 345
    "Drag %s to Move",  // 346
    "Drag %s to Zoom",  // 347
    "Drag %s to resize 3D",  // 348
    "Drag Left button to Zoom, Right button to Scroll",  // 349
    "Drag a Pie Slice to Explode it",  // 350
    "Slice: %d Exploded: %d %%",  // 351
    "Number of points must be >= 4",  // 352
    "All colinear data points",  // 353
    "Similar points - cannot execute",  // 354
    "Triangle Surf.",  // 355
    "All Series",  // 356
    "Edit",  // 357
    "Financial",  // 358
    "Cursor",  // 359
    "Drag Marks",  // 360
    "Axis Arrows",  // 361
    "Draw Line",  // 362
    "Nearest Point",  // 363
    "Color Band",  // 364
    "Color Line",  // 365
    "Rotate",  // 366
    "Image",  // 367
    "Mark Tips",  // 368
    "Annotation",  // 369
    "Can not delete ancestor",  // 370
    "Load...",  // 371
    "Chart",  // 372
    "Chart Series",  // 373
    "&3D",  // 374
    "Switch 2D / 3D",  // 375
    "&Active",  // 376
    "Show / Hide Series",  // 377
    "Edit Chart",  // 378
    "&Edit...",  // 379
    "Copy to Clipboard",  // 380
    "&Copy",  // 381
    "Print preview Chart",  // 382
    "&Print...",  // 383
    "Show / Hide Axes",  // 384
    "&Axes",  // 385
    "Show / Hide Grids",  // 386
    "&Grids",  // 387
    "Show / Hide Legend",  // 388
    "&Legend",  // 389
    "Edit Series",  // 390
    "Show / Hide Series Marks",  // 391
    "&Marks",  // 392
    "Save Chart",  // 393
    "&Save...",  // 394
    "Bar",  // 395
    "No Open",  // 396
    "No Close",  // 397
    "No High",  // 398
    "No Low",  // 399
    "Color Range",  // 400
    "Wireframe",  // 401
    "Dot Frame",  // 402
    "Positions",  // 403
    "No Grid",  // 404
    "No Point",  // 405
    "No Line",  // 406
    "Labels",  // 407
    "No Circle",  // 408
    "Lines",  // 409
    "Border",  // 410
    "Resistance",  // 411
    "Reactance",  // 412
    "Column",  // 413
    "Separator",  // 414
    "Segment ",  // 415
    "Funnel",  // 416
    "0.00 %",  // 417
    "Exceeds quota",  // 418
    " within quota",  // 419
    " or more below quota",  // 420
    "Calendar",  // 421
    "DeltaPoint",  // 422
    "ImagePoint",  // 423
    "ImageBar",  // 424
    "SeriesText: Field index should be greater than zero.",  // 425
    "Origin",  // 426
    "Transparency",  // 427
    "Box",  // 428
    "ExtrOut",  // 429
    "MildOut",  // 430
    "Page Number",  // 431
    "Text File",  // 432
    "Drag Point",  // 433
    "OpportunityValues",  // 434
    "QuoteValues",  // 435
    "Smoothing",  // 436
    "Cross Points",  // 437
    "3D Grid Transpose",  // 438
    "Compression",  // 439
    "Extra Legend",  // 440
    "Close Location\rValue",  // 441
    "On Balance\rVolume",  // 442
    "Commodity\rChannel Index",  // 443
    "Volume\rOscillator",  // 444
    "Series Animation",  // 445
    "Point & Figure",  // 446
    "Up",  // 447
    "Down",  // 448
    "Gantt Drag",  // 449
    "XML file",  // 450
    "Grid band tool",  // 451
    "Performance",  // 452
    "Gauge",  // 453
    "Gauges",  // 454
    "EndZ",  // 455
    "Vector 3D",  // 456
    "3D",  // 457
    "Tower",  // 458
    "Single Color",  // 459
    "Cover",  // 460
    "Cone",  // 461
    "Pie Slices",  // 462
  };
  return table;
}

}  // namespace

const std::string& KivProCoText(int number) {
  static const std::string empty;
  const int i = number - KivProMessageFirst;
  if (i < 0 || i >= KivProMessageCount) return empty;
  return Texts()[static_cast<std::size_t>(i)];
}

}  // namespace chart
